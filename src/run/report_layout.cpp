// The report's header lines and observation records.
#include "run/report_layout.h"

#include <algorithm>
#include <cstring>

#include "aeff/format.h"
#include "version.h"

namespace varistellar::run {
namespace {

using namespace textio;

constexpr std::size_t observationValueCount = 9;
constexpr auto observationFields = placeDataFields<observationValueCount>(observationRecordLayout);
constexpr PlacedField dateField = placedField(observationFields, "DATE");
constexpr PlacedField magnitudeField = placedField(observationFields, "MAG");
constexpr PlacedField errorField = placedField(observationFields, "MERR");
constexpr PlacedField airmassField = placedField(observationFields, "AIRMASS");

// Each field a record layout names stands where the format puts it, and the
// layout writes the format's fifteen fields: each comma ends one.
consteval bool fieldsStandWhereTheFormatPutsThem(std::span<const LayoutItem> layout) {
  std::size_t field = 0;
  for (const LayoutItem& item : layout) {
    if (item.kind == LayoutItem::Kind::literal) {
      field += static_cast<std::size_t>(std::count(item.literal.begin(), item.literal.end(), ','));
    } else if (field >= aeff::fieldCount || aeff::fields[field].name != item.name) {
      return false;
    }
  }
  return field == aeff::fieldCount - 1;
}
static_assert(fieldsStandWhereTheFormatPutsThem(observationRecordLayout));
static_assert(fieldsStandWhereTheFormatPutsThem(checkStarRecordLayout));

// "#STARID,DATE,...,NOTES": the format's field names in their order.
std::string columnTitleLine() {
  std::string line = "#";
  for (const aeff::FieldFacts& field : aeff::fields) {
    if (line.size() > 1) line += ',';
    line.append(field.name);
  }
  return line;
}

// Joins a prefix and a value into a text of exactly `width` characters:
// cut when longer, padded with blanks when shorter.
std::string fixedLengthJoin(std::string_view prefix, std::string_view value, std::size_t width) {
  std::string joined{prefix};
  joined.append(value);
  joined.resize(width, ' ');
  return joined;
}

std::array<FieldValue, observationValueCount> recordValues(const ObserverParameters& parameters,
                                                           const ReportValues& values) {
  return {
      std::string_view{parameters.variableStarId},    // STARID
      values.DATE,                                    // DATE
      values.MAG,                                     // MAG
      values.MERR,                                    // MERR
      std::string_view{parameters.filterName},        // FILT
      std::string_view{parameters.comparisonStarId},  // CNAME
      std::string_view{parameters.checkStarId},       // KNAME
      values.AIRMASS,                                 // AIRMASS
      std::string_view{parameters.chartId},           // CHART
  };
}

// A fixed-point field as its text without the leading blanks; false when the
// field holds no number (asterisks, NaN or INF).
bool appendTrimmedNumber(const LayoutItem& field, double value, std::string& line) {
  char text[32];
  const auto width = static_cast<std::size_t>(field.width);
  formatFixedField(value, field.width, field.digits, text);
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

void noteUnfit(const LayoutItem& field, bool fits, UnfitFields& unfit) {
  noteUnfit(field.name, fits, unfit);
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
      noteUnfit(item, appendTrimmedNumber(item, std::get<double>(value), line), unfit);
    }
  }
  return unfit;
}

// `|KEY=value` with the value as the magnitude fields write it; false when
// it does not fit them.
bool appendMagnitudeSubfield(std::string_view key, double value, std::string& notes) {
  const auto text = trimmedNumber(value, 6, 3);
  notes.append("|").append(key).append("=").append(text.value_or("******"));
  return text.has_value();
}

bool fitsFixedField(const PlacedField& placed, const std::string& line) {
  // A number too wide for its field fills it with asterisks.
  return line[placed.column] != '*';
}

}  // namespace

std::array<std::string, 7> reportHeaderLines(const ObserverParameters& parameters, ReportForm form,
                                             DateKind date) {
  const bool interactive = form == ReportForm::interactive;
  return {
      "#TYPE=Extended",
      interactive ? fixedLengthJoin("#OBSCODE=", parameters.observerCode, 13)
                  : "#OBSCODE=" + parameters.observerCode,
      interactive ? std::string{"#SOFTWARE=MAGNIVEX"}
                  : "#SOFTWARE=MAGNIVEX via VARISTELLAR " + std::string{programVersion()},
      fixedLengthJoin("#DELIM=", ",", 8),
      date == DateKind::jd ? "#DATE=JD" : "#DATE=HJD",
      "#OBSTYPE=CCD",
      columnTitleLine(),
  };
}

ObservationRecords::ObservationRecords(const ObserverParameters& parameters, ReportForm form,
                                       bool withCheckStar)
    : parameters_{parameters}, form_{form}, withCheckStar_{withCheckStar} {}

UnfitFields ObservationRecords::build(const ReportValues& values, std::string& line) {
  if (form_ == ReportForm::aavso) {
    return withCheckStar_ ? buildWithCheckStar(values, line) : buildTrimmed(values, line);
  }
  if (!laidOut_) {
    buildLayoutRecord(observationRecordLayout, recordValues(parameters_, values), line);
    laidOut_ = true;
  } else {
    rewriteFixedField(dateField, values.DATE, line);
    rewriteFixedField(magnitudeField, values.MAG, line);
    rewriteFixedField(errorField, values.MERR, line);
    rewriteFixedField(airmassField, values.AIRMASS, line);
  }
  UnfitFields unfit;
  noteUnfit(dateField.field, fitsFixedField(dateField, line), unfit);
  noteUnfit(magnitudeField.field, fitsFixedField(magnitudeField, line), unfit);
  noteUnfit(errorField.field, fitsFixedField(errorField, line), unfit);
  noteUnfit(airmassField.field, fitsFixedField(airmassField, line), unfit);
  return unfit;
}

// The fields of the same layout, each without the blanks at its ends and each
// text value whole. Everything but the four numbers is the same in every
// record, so it is joined into texts once and only the numbers are written.
UnfitFields ObservationRecords::buildTrimmed(const ReportValues& values, std::string& line) {
  if (!laidOut_) {
    const auto fieldValues = recordValues(parameters_, values);
    std::size_t next = 0;
    std::size_t text = 0;
    for (const LayoutItem& item : observationRecordLayout) {
      if (item.kind == LayoutItem::Kind::literal) {
        trimmedTexts_[text].append(item.literal);
      } else if (const auto* value = std::get_if<std::string_view>(&fieldValues[next++])) {
        trimmedTexts_[text].append(*value);
      } else {
        ++text;  // a number ends one text and begins the next
      }
    }
    laidOut_ = true;
  }
  // In the order the layout holds them.
  static constexpr std::array numberFields = {&dateField, &magnitudeField, &errorField,
                                              &airmassField};
  static_assert(dateField.column < magnitudeField.column &&
                magnitudeField.column < errorField.column &&
                errorField.column < airmassField.column);
  const std::array numbers = {values.DATE, values.MAG, values.MERR, values.AIRMASS};
  UnfitFields unfit;
  line.assign(trimmedTexts_[0]);
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const LayoutItem& field = numberFields[i]->field;
    noteUnfit(field, appendTrimmedNumber(field, numbers[i], line), unfit);
    line.append(trimmedTexts_[i + 1]);
  }
  return unfit;
}

// The comparison stands at 0.000 and the check star at -(C1-K1) on the same
// zero point, so that KMAG - CMAG + CREFMAG is the check star's standard
// magnitude. An unmeasured check star has KMAG na and no KMAGINS or KREFMAG.
UnfitFields ObservationRecords::buildWithCheckStar(const ReportValues& values,
                                                   std::string& line) const {
  UnfitFields unfitNotes;
  std::string notes;
  noteUnfit("VMAGINS", appendMagnitudeSubfield("VMAGINS", values.VMAGINS, notes), unfitNotes);
  notes.append("|CMAGINS=0.000");
  // KMAGINS is the number KMAG holds: when it does not fit, KMAG says so.
  if (values.KMAGINS) (void)appendMagnitudeSubfield("KMAGINS", *values.KMAGINS, notes);
  noteUnfit("CREFMAG", appendMagnitudeSubfield("CREFMAG", parameters_.comparisonMagnitude, notes),
            unfitNotes);
  if (values.KMAGINS) {
    noteUnfit("KREFMAG", appendMagnitudeSubfield("KREFMAG", parameters_.checkMagnitude, notes),
              unfitNotes);
  }
  const FieldValue checkMagnitude =
      values.KMAGINS ? FieldValue{*values.KMAGINS} : FieldValue{std::string_view{"na"}};
  const std::array<FieldValue, 12> fieldValues = {
      std::string_view{parameters_.variableStarId},    // STARID
      values.DATE,                                     // DATE
      values.MAG,                                      // MAG
      values.MERR,                                     // MERR
      std::string_view{parameters_.filterName},        // FILT
      std::string_view{parameters_.comparisonStarId},  // CNAME
      0.0,                                             // CMAG
      std::string_view{parameters_.checkStarId},       // KNAME
      checkMagnitude,                                  // KMAG
      values.AIRMASS,                                  // AIRMASS
      std::string_view{parameters_.chartId},           // CHART
      std::string_view{notes},                         // NOTES
  };
  line.clear();
  UnfitFields unfit = appendTrimmedFields(checkStarRecordLayout, fieldValues, line);
  for (std::size_t i = 0; i < unfitNotes.count; ++i) noteUnfit(unfitNotes.names[i], false, unfit);
  return unfit;
}

std::optional<std::string> trimmedNumber(double value, int width, int digits) {
  std::string line;
  const LayoutItem field = fixedField(width, digits);
  if (!appendTrimmedNumber(field, value, line)) return std::nullopt;
  return line;
}

double writtenMagnitudeError(double MERR) {
  char text[6];
  formatFixedField(MERR, errorField.field.width, errorField.field.digits, text);
  std::string_view written{text, sizeof text};
  // cppcheck-suppress knownConditionTrueFalse ; the guard keeps an all-blank field safe
  while (!written.empty() && written.front() == ' ') written.remove_prefix(1);
  const RealConversion read = convertRealText(written);
  return read.ok ? read.value : MERR;
}

}  // namespace varistellar::run
