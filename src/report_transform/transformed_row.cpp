// Rewriting a transformed row.
#include "report_transform/transformed_row.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "aeff/format.h"
#include "aeff/notes_subfields.h"
#include "aeff/row_fields.h"
#include "check/text.h"
#include "report/number_text.h"

namespace varistellar::report_transform {
namespace {

using aeff::Field;

}  // namespace

bool writeTransformedRow(std::string_view line, char delimiter, const RowResult& result,
                         std::string& out) {
  std::optional<aeff::RowFields> split = aeff::splitRow(line, delimiter);
  if (!split) return false;
  aeff::RowFields& fields = *split;

  const transform::FilterTransform& transform = *result.transform;
  const std::optional<std::string> mag =
      report::trimmedNumber(result.comparison + result.result.offset, 6, 3);
  const std::optional<std::string> merr = report::trimmedNumber(result.result.error, 6, 3);
  const std::optional<std::string> colour = report::trimmedNumber(result.colour, 6, 3);
  if (!mag || !merr || !colour) return false;
  std::string notes;
  const std::string_view oldNotes = check::trimBlanks(fields[aeff::index(Field::NOTES)]);
  // Notes that switch their sub-delimiter (DELIM=;) get the new subfields
  // with theirs: a '|' there would run into the value before it.
  const char subDelimiter = aeff::NotesSubfields{oldNotes}.delimiter();
  if (!aeff::sameWord(oldNotes, "na")) notes.assign(oldNotes);
  const std::size_t added = notes.size();
  notes.append(transform.notesBeforeColour).append(*colour);
  if (subDelimiter != '|')
    std::replace(notes.begin() + static_cast<std::ptrdiff_t>(added), notes.end(), '|',
                 subDelimiter);

  fields[aeff::index(Field::MAG)] = *mag;
  fields[aeff::index(Field::MERR)] = *merr;
  fields[aeff::index(Field::FILT)] = transform.reportedFilter;
  fields[aeff::index(Field::TRANS)] = "YES";
  fields[aeff::index(Field::MTYPE)] = "STD";
  fields[aeff::index(Field::NOTES)] = notes;
  out.clear();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i != 0) out.push_back(delimiter);
    out.append(fields[i]);
  }
  return true;
}

}  // namespace varistellar::report_transform
