// The report's delimiters against the texts transform writes.
#include "report_transform/delimiter_clashes.h"

namespace varistellar::report_transform {
namespace {

struct WrittenText {
  std::string text;
  std::string shown;
};

// Every text a transformed row gains, the NOTES subfields first: they show
// a clash best. The numbers may hold any digit, '.' and '-'.
std::vector<WrittenText> writtenTexts(const std::vector<transform::FilterTransform>& transforms,
                                      WrittenInto into) {
  const bool fields = into == WrittenInto::fields;
  std::vector<WrittenText> texts;
  for (const transform::FilterTransform& t : transforms) {
    const std::string_view notes = t.notesBeforeColour;
    for (std::size_t at = 0; at < notes.size();) {
      std::size_t end = notes.find('|', at);
      if (end == std::string_view::npos) end = notes.size();
      if (end != at) {
        const std::string subfield{notes.substr(at, end - at)};
        texts.push_back({subfield, fields ? subfield + " in NOTES" : subfield});
      }
      at = end + 1;
    }
  }
  if (fields) {
    texts.push_back({"YES", "TRANS YES"});
    texts.push_back({"STD", "MTYPE STD"});
    for (const transform::FilterTransform& t : transforms) {
      // cppcheck-suppress useStlAlgorithm ; one text per transformation, beside the others
      texts.push_back({t.reportedFilter, "FILT " + t.reportedFilter});
    }
  }
  texts.push_back({"0123456789.-",
                   fields ? "the numbers of MAG, MERR and NOTES" : "the numbers of the subfields"});
  return texts;
}

std::string moreRows(std::uint64_t rows) {
  if (rows <= 1) return {};
  const std::uint64_t more = rows - 1;
  return " (and " + std::to_string(more) + (more == 1 ? " more row)" : " more rows)");
}

}  // namespace

std::optional<std::string> writtenTextHolding(
    const std::vector<transform::FilterTransform>& transforms, WrittenInto into, char c) {
  for (const WrittenText& written : writtenTexts(transforms, into)) {
    // cppcheck-suppress useStlAlgorithm ; the first text that holds it names it
    if (written.text.find(c) != std::string::npos) return written.shown;
  }
  return std::nullopt;
}

std::size_t reportDelimiterClashes(const ReportInputs& inputs,
                                   const std::vector<transform::FilterTransform>& transforms,
                                   std::string_view report, diagnostics::DiagnosticSink& findings) {
  std::size_t errors = 0;
  for (const DelimiterChange& change : inputs.delimiters) {
    if (!change.transformable) continue;
    const char c = change.delimiter;
    const auto held = writtenTextHolding(transforms, WrittenInto::fields, c);
    if (!held) continue;
    findings.error(report, change.setAt, 0,
                   "the report's delimiter '" + std::string(1, c) +
                       "' appears in the fields transform writes (" + *held +
                       "); write the report with another delimiter, such as ',' or ';'");
    ++errors;
  }
  for (const NotesDelimiterUse& use : inputs.notesDelimiters) {
    const char c = use.delimiter;
    const auto held = writtenTextHolding(transforms, WrittenInto::notes, c);
    if (!held) continue;
    findings.error(report, use.firstLine, 0,
                   "NOTES switch to the sub-delimiter '" + std::string(1, c) +
                       "' (DELIM=" + std::string(1, c) +
                       "), which appears in the subfields transform appends (" + *held +
                       "); write these NOTES with '|' or another sub-delimiter, such as ';'" +
                       moreRows(use.rows));
    ++errors;
  }
  return errors;
}

}  // namespace varistellar::report_transform
