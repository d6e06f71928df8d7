// The record forms.
#include "report/record_forms.h"

#include <algorithm>
#include <cmath>

#include "aeff/format.h"
#include "report/layouts.h"

namespace varistellar::report {
namespace {

using textio::FieldValue;
using textio::LayoutItem;
using textio::PlacedField;

// Each field a record layout names stands where the format puts it, and the
// layout writes the format's fifteen fields: each comma ends one.
consteval bool fieldsStandWhereTheFormatPutsThem(std::span<const LayoutItem> layout) {
  std::size_t field = 0;
  for (const LayoutItem& item : layout) {
    if (item.kind == LayoutItem::Kind::literal) {
      // cppcheck-suppress useStlAlgorithm ; a plain loop stays usable at compile time
      for (const char c : item.literal) field += c == ',' ? 1 : 0;
    } else if (field >= aeff::fieldCount || aeff::fields[field].name != item.name) {
      return false;
    }
  }
  return field == aeff::fieldCount - 1;
}
static_assert(fieldsStandWhereTheFormatPutsThem(observationRecordLayout));
static_assert(fieldsStandWhereTheFormatPutsThem(checkStarRecordLayout));

// The keys of a layout's data fields, in their order.
template <std::size_t N>
consteval std::array<RecordKey, N> keysOf(std::span<const LayoutItem> layout) {
  std::array<RecordKey, N> keys{};
  std::size_t next = 0;
  for (const LayoutItem& item : layout) {
    if (item.kind == LayoutItem::Kind::literal) continue;
    if (next == N) throw "the layout has more data fields";
    keys[next++] = recordKey(item.name);
  }
  if (next != N) throw "the layout has fewer data fields";
  return keys;
}

constexpr std::size_t observationFieldCount = 9;
constexpr std::size_t checkStarFieldCount = 13;
constexpr auto observationKeys = keysOf<observationFieldCount>(observationRecordLayout);
constexpr auto checkStarKeys = keysOf<checkStarFieldCount>(checkStarRecordLayout);

constexpr auto observationFields =
    textio::placeDataFields<observationFieldCount>(observationRecordLayout);
constexpr PlacedField dateField = textio::placedField(observationFields, "DATE");
constexpr PlacedField magnitudeField = textio::placedField(observationFields, "MAG");
constexpr PlacedField errorField = textio::placedField(observationFields, "MERR");
constexpr PlacedField airmassField = textio::placedField(observationFields, "AIRMASS");
// The record's numbers, in the order the layout holds them, and their keys.
constexpr std::array numberFields = {&dateField, &magnitudeField, &errorField, &airmassField};
constexpr std::array numberKeys = {
    recordKey(dateField.field.name), recordKey(magnitudeField.field.name),
    recordKey(errorField.field.name), recordKey(airmassField.field.name)};
static_assert(dateField.column < magnitudeField.column &&
              magnitudeField.column < errorField.column && errorField.column < airmassField.column);

template <std::size_t N>
std::array<FieldValue, N> valuesInLayoutOrder(const std::array<RecordKey, N>& keys,
                                              const RecordValues& values) {
  std::array<FieldValue, N> ordered{};
  // An unset value (the NOTES a form makes itself) stands as an empty text.
  for (std::size_t i = 0; i < N; ++i) {
    ordered[i] = values.has(keys[i]) ? values[keys[i]] : FieldValue{std::string_view{}};
  }
  return ordered;
}

// A fixed-point field as its text without the leading blanks; false when the
// field holds no number (asterisks, NaN or INF).
bool appendTrimmedNumber(const LayoutItem& field, double value, std::string& line) {
  // A table without the star's coordinates has no airmass.
  if (std::isnan(value) && field.name == "AIRMASS") {
    line.append("na");
    return true;
  }
  char text[32];
  const auto width = static_cast<std::size_t>(field.width);
  textio::formatFixedField(value, field.width, field.digits, text);
  std::size_t first = 0;
  while (first < width && text[first] == ' ') ++first;
  line.append(text + first, width - first);
  for (std::size_t i = first; i < width; ++i) {
    if (text[i] != '-' && text[i] != '.' && (text[i] < '0' || text[i] > '9')) return false;
  }
  return true;
}

void noteUnfit(std::string_view name, bool fits, UnfitFields& unfit) {
  if (!fits) unfit.names[unfit.count++] = name;
}

// Appends the fields of a trimmed record: each without the blanks at its
// ends, each text value whole.
UnfitFields appendTrimmedFields(std::span<const LayoutItem> layout,
                                std::span<const FieldValue> fieldValues, std::string& line) {
  UnfitFields unfit;
  std::size_t next = 0;
  for (const LayoutItem& item : layout) {
    if (item.kind == LayoutItem::Kind::literal) {
      line.append(item.literal);
      continue;
    }
    const FieldValue& value = fieldValues[next++];
    if (const auto* text = std::get_if<std::string_view>(&value)) {
      line.append(*text);
    } else {
      noteUnfit(item.name, appendTrimmedNumber(item, std::get<double>(value), line), unfit);
    }
  }
  return unfit;
}

// `|KEY=value` with the value as the magnitude fields write it; false when
// it does not fit them.
bool appendMagnitudeSubfield(std::string_view key, double value, std::string& notes) {
  notes.append("|").append(key).append("=");
  static constexpr LayoutItem magnitude = textio::fixedField(6, 3);
  const std::size_t start = notes.size();
  if (appendTrimmedNumber(magnitude, value, notes)) return true;
  notes.replace(start, std::string::npos, "******");
  return false;
}

bool fitsFixedField(const PlacedField& placed, const std::string& line) {
  // A number too wide for its field fills it with asterisks.
  return line[placed.column] != '*';
}

}  // namespace

UnfitFields InteractiveRecordForm::build(const RecordValues& values, std::string& line) {
  if (!laidOut_) {
    textio::buildLayoutRecord(observationRecordLayout, valuesInLayoutOrder(observationKeys, values),
                              line);
    laidOut_ = true;
  } else {
    for (std::size_t i = 0; i < numberFields.size(); ++i) {
      textio::rewriteFixedField(*numberFields[i], values.number(numberKeys[i]), line);
    }
  }
  UnfitFields unfit;
  for (const PlacedField* field : numberFields) {
    noteUnfit(field->field.name, fitsFixedField(*field, line), unfit);
  }
  return unfit;
}

// Everything but the four numbers is the same in every record, so it is
// joined into texts once and only the numbers are written.
UnfitFields TrimmedRecordForm::build(const RecordValues& values, std::string& line) {
  if (!laidOut_) {
    const auto fieldValues = valuesInLayoutOrder(observationKeys, values);
    std::size_t next = 0;
    std::size_t text = 0;
    for (const LayoutItem& item : observationRecordLayout) {
      if (item.kind == LayoutItem::Kind::literal) {
        texts_[text].append(item.literal);
      } else if (const auto* value = std::get_if<std::string_view>(&fieldValues[next++])) {
        texts_[text].append(*value);
      } else {
        ++text;  // a number ends one text and begins the next
      }
    }
    laidOut_ = true;
  }
  UnfitFields unfit;
  line.assign(texts_[0]);
  for (std::size_t i = 0; i < numberFields.size(); ++i) {
    const LayoutItem& field = numberFields[i]->field;
    noteUnfit(field.name, appendTrimmedNumber(field, values.number(numberKeys[i]), line), unfit);
    line.append(texts_[i + 1]);
  }
  return unfit;
}

namespace {

// The check star's NOTES subfields into `notes`, the subfields that do not
// fit their fields into `unfit`.
void appendCheckStarNotes(const RecordValues& values, std::string& notes, UnfitFields& unfit) {
  const bool measured = values.has(Subfield::KMAGINS);
  noteUnfit("VMAGINS", appendMagnitudeSubfield("VMAGINS", values.number(Subfield::VMAGINS), notes),
            unfit);
  notes.append("|CMAGINS=0.000");
  // KMAGINS is the number KMAG holds: when it does not fit, KMAG says so.
  if (measured) {
    (void)appendMagnitudeSubfield("KMAGINS", values.number(Subfield::KMAGINS), notes);
  }
  noteUnfit("CREFMAG", appendMagnitudeSubfield("CREFMAG", values.number(Subfield::CREFMAG), notes),
            unfit);
  if (measured && values.has(Subfield::KREFMAG)) {
    noteUnfit("KREFMAG",
              appendMagnitudeSubfield("KREFMAG", values.number(Subfield::KREFMAG), notes), unfit);
  }
}

// `|MERRSRC=...`, last, when MERR is not the table's error.
void appendErrorSource(const RecordValues& values, std::string& notes) {
  if (!values.has(Subfield::MERRSRC)) return;
  notes.append("|MERRSRC=").append(std::get<std::string_view>(values[Subfield::MERRSRC]));
}

// A record of `layout` with NOTES, FILT and TRANS given apart from `values`.
template <std::size_t N>
UnfitFields buildWithNotes(std::span<const LayoutItem> layout, const std::array<RecordKey, N>& keys,
                           const RecordValues& values, const std::string& notes,
                           const UnfitFields& unfitNotes, std::string& line,
                           std::string_view filter = {}, std::string_view trans = {}) {
  auto fieldValues = valuesInLayoutOrder(keys, values);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == aeff::Field::NOTES) fieldValues[i] = std::string_view{notes};
    if (keys[i] == aeff::Field::TRANS) fieldValues[i] = trans;
    if (keys[i] == aeff::Field::FILT && !filter.empty()) fieldValues[i] = filter;
  }
  line.clear();
  UnfitFields unfit = appendTrimmedFields(layout, fieldValues, line);
  for (std::size_t i = 0; i < unfitNotes.count; ++i) noteUnfit(unfitNotes.names[i], false, unfit);
  return unfit;
}

// The numbers that change from one record of a night to the next; every
// other value of a night's records is the same in each.
bool changesByRecord(RecordKey key) {
  return key == aeff::Field::DATE || key == aeff::Field::MAG || key == aeff::Field::MERR ||
         key == aeff::Field::KMAG || key == aeff::Field::AIRMASS;
}

}  // namespace

// The fixed texts are joined once, and a record is these texts with its
// numbers written between them.
bool CheckStarLayout::layOut(std::span<const LayoutItem> layout, std::span<const RecordKey> keys,
                             const RecordValues& values, std::string_view filter,
                             std::string_view trans, std::string_view notesBeforeColour,
                             bool referenceByRecord) {
  pieces_.clear();
  std::string text;
  static constexpr LayoutItem magnitude = textio::fixedField(6, 3);
  const auto number = [&](RecordKey key, std::string_view name, const LayoutItem& format,
                          bool inNotes) {
    pieces_.push_back({std::move(text), key, name, format, inNotes});
    text.clear();
  };
  // A number that is the same in every record is written once; one that
  // does not fit leaves the record to be built whole each time.
  const auto fixedNumber = [&](double value) {
    return appendTrimmedNumber(magnitude, value, text);
  };
  std::size_t next = 0;
  for (const LayoutItem& item : layout) {
    if (item.kind == LayoutItem::Kind::literal) {
      text.append(item.literal);
      continue;
    }
    const RecordKey key = keys[next++];
    if (key == aeff::Field::NOTES) {
      const bool measured = values.has(Subfield::KMAGINS);
      text.append("|VMAGINS=");
      number(Subfield::VMAGINS, "VMAGINS", magnitude, true);
      text.append("|CMAGINS=0.000");
      if (measured) {
        text.append("|KMAGINS=");
        // KMAGINS is the number KMAG holds: when it does not fit, KMAG says so.
        number(Subfield::KMAGINS, {}, magnitude, true);
      }
      text.append("|CREFMAG=");
      if (referenceByRecord) number(Subfield::CREFMAG, "CREFMAG", magnitude, true);
      if (!referenceByRecord && !fixedNumber(values.number(Subfield::CREFMAG))) return false;
      if (measured && values.has(Subfield::KREFMAG)) {
        text.append("|KREFMAG=");
        if (!fixedNumber(values.number(Subfield::KREFMAG))) return false;
      }
      if (values.has(Subfield::COLOR)) {
        text.append(notesBeforeColour);
        number(Subfield::COLOR, "COLOR", magnitude, true);
      }
      appendErrorSource(values, text);
    } else if (key == aeff::Field::FILT && !filter.empty()) {
      text.append(filter);
    } else if (key == aeff::Field::TRANS) {
      text.append(trans);
    } else if (!values.has(key)) {
      continue;
    } else if (const auto* value = std::get_if<std::string_view>(&values[key])) {
      text.append(*value);
    } else if (changesByRecord(key)) {
      number(key, item.name, item, false);
    } else if (!appendTrimmedNumber(item, std::get<double>(values[key]), text)) {
      return false;
    }
  }
  last_ = std::move(text);
  return true;
}

UnfitFields CheckStarLayout::build(const RecordValues& values, std::string& line) const {
  UnfitFields unfit;
  line.clear();
  for (const Piece& piece : pieces_) {
    line.append(piece.text);
    const std::size_t start = line.size();
    const bool fits = appendTrimmedNumber(piece.format, values.number(piece.key), line);
    if (!fits && piece.inNotes) line.replace(start, std::string::npos, "******");
    if (!piece.name.empty()) noteUnfit(piece.name, fits, unfit);
  }
  line.append(last_);
  return unfit;
}

CheckStarRecordForm::CheckStarRecordForm(std::string standardFilter, std::string notesBeforeColour,
                                         bool referenceByRecord)
    : standardFilter_{std::move(standardFilter)},
      notesBeforeColour_{std::move(notesBeforeColour)},
      referenceByRecord_{referenceByRecord} {}

UnfitFields CheckStarRecordForm::build(const RecordValues& values, std::string& line) {
  const bool transformed = values.has(Subfield::COLOR);
  auto& laidOut = layouts_[(values.has(Subfield::KMAGINS) ? 1U : 0U) + (transformed ? 2U : 0U) +
                           (values.has(Subfield::MERRSRC) ? 4U : 0U)];
  if (!laidOut) {
    laidOut.emplace();
    if (!laidOut->layOut(checkStarRecordLayout, checkStarKeys, values,
                         transformed ? std::string_view{standardFilter_} : std::string_view{},
                         transformed ? "YES" : "NO", notesBeforeColour_, referenceByRecord_)) {
      laidOut.reset();
      return buildWhole(values, line);
    }
  }
  return laidOut->build(values, line);
}

UnfitFields CheckStarRecordForm::buildWhole(const RecordValues& values, std::string& line) {
  UnfitFields unfitNotes;
  notes_.clear();
  appendCheckStarNotes(values, notes_, unfitNotes);
  if (!values.has(Subfield::COLOR)) {
    appendErrorSource(values, notes_);
    return buildWithNotes(checkStarRecordLayout, checkStarKeys, values, notes_, unfitNotes, line,
                          {}, "NO");
  }
  notes_.append(notesBeforeColour_);
  static constexpr LayoutItem colour = textio::fixedField(6, 3);
  const std::size_t start = notes_.size();
  if (!appendTrimmedNumber(colour, values.number(Subfield::COLOR), notes_)) {
    notes_.replace(start, std::string::npos, "******");
    noteUnfit("COLOR", false, unfitNotes);
  }
  appendErrorSource(values, notes_);
  return buildWithNotes(checkStarRecordLayout, checkStarKeys, values, notes_, unfitNotes, line,
                        standardFilter_, "YES");
}

}  // namespace varistellar::report
