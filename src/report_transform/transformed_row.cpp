// Rewriting a transformed row: written straight into the caller's string,
// without a string of its own per field, for it runs once a row.
#include "report_transform/transformed_row.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "aeff/format.h"
#include "aeff/notes_subfields.h"
#include "aeff/row_fields.h"
#include "check/text.h"
#include "textio/fields.h"

namespace varistellar::report_transform {
namespace {

using aeff::Field;

constexpr int numberWidth = 6;
constexpr int numberDigits = 3;

// A number as the report writes it: at most six characters with three
// decimals, without the blanks before it.
class FieldNumber {
 public:
  explicit FieldNumber(double value) {
    textio::formatFixedField(value, numberWidth, numberDigits, text_.data());
    start_ = static_cast<std::size_t>(
        std::find_if(text_.begin(), text_.end(), [](char c) { return c != ' '; }) - text_.begin());
  }
  [[nodiscard]] std::string_view text() const {
    return {text_.data() + start_, text_.size() - start_};
  }
  // False for a value too wide for the field (asterisks) or no number.
  [[nodiscard]] bool fits() const {
    const std::string_view t = text();
    return std::all_of(t.begin(), t.end(),
                       [](char c) { return c == '-' || c == '.' || (c >= '0' && c <= '9'); });
  }

 private:
  std::array<char, numberWidth> text_{};
  std::size_t start_ = 0;
};

// The old notes (none for na), then the coefficient, its error and the
// colour. Notes that switch their sub-delimiter (DELIM=;) get the new
// subfields with theirs: a '|' there would run into the value before it.
void appendNotes(std::string_view oldNotes, std::string_view added, std::string_view colour,
                 std::string& out) {
  const char subDelimiter = aeff::NotesSubfields{oldNotes}.delimiter();
  if (!aeff::sameWord(oldNotes, "na")) out.append(oldNotes);
  const std::size_t start = out.size();
  out.append(added).append(colour);
  if (subDelimiter != '|') {
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '|', subDelimiter);
  }
}

}  // namespace

bool writeTransformedRow(std::string_view line, char delimiter, const RowResult& result,
                         std::string& out) {
  const std::optional<aeff::RowFields> fields = aeff::splitRow(line, delimiter);
  return fields && writeTransformedRow(line, *fields, delimiter, result, out);
}

bool writeTransformedRow(std::string_view line, const aeff::RowFields& fields, char delimiter,
                         const RowResult& result, std::string& out) {
  const transform::FilterTransform& transform = *result.transform;
  const FieldNumber mag{result.comparison + result.result.offset};
  const FieldNumber merr{result.result.error};
  const FieldNumber colour{result.colour};
  if (!mag.fits() || !merr.fits() || !colour.fits()) return false;
  // STARID and DATE, then the fields rewritten, then CNAME to CHART as they
  // were, in one piece each: the fields are views into `line`.
  const auto offset = [&](Field f) { return fields[aeff::index(f)].data() - line.data(); };
  out.assign(line.substr(0, static_cast<std::size_t>(offset(Field::MAG))));
  out.append(mag.text()).push_back(delimiter);
  out.append(merr.text()).push_back(delimiter);
  out.append(transform.reportedFilter).push_back(delimiter);
  out.append("YES").push_back(delimiter);
  out.append("STD").push_back(delimiter);
  const auto unchanged = static_cast<std::size_t>(offset(Field::CNAME));
  out.append(line.substr(unchanged, static_cast<std::size_t>(offset(Field::NOTES)) - unchanged));
  appendNotes(check::trimBlanks(fields[aeff::index(Field::NOTES)]), transform.notesBeforeColour,
              colour.text(), out);
  return true;
}

}  // namespace varistellar::report_transform
