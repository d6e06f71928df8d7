// The predicates of the observation-line rules, one small named check each.
#include "check/row_rules.h"

#include "aeff/notes_subfields.h"
#include "check/line_scanner.h"
#include "check/text.h"

namespace varistellar::check {

using aeff::Content;
using aeff::Field;
using aeff::fieldFacts;

namespace {

std::string named(const Row& row, Field f) {
  return std::string{fieldFacts(f).name} + " " + quoted(row[f].padded);
}

bool isNumericField(const Row& row, Field f) {
  const Content c = fieldFacts(f).content;
  return c == Content::number || c == Content::magnitude ||
         (c == Content::date && (row.date == DateKind::jd || row.date == DateKind::hjd));
}

bool namesStar(const Row& row, Field f) {
  return !row[f].text.empty() && !row.isNa(f) && !row.is(f, "ENSEMBLE");
}

// The text of a finding, built only when the row is being described: a
// finding already reported is only counted, and needs none.
template <class Build>
std::string text(const Row& row, Build build) {
  return row.describe ? std::string{build()} : std::string{};
}

// A field whose text without its edge blanks is over its limit.
std::optional<RowFinding> tooLong(const Row& row, Field f) {
  const aeff::FieldFacts& s = fieldFacts(f);
  if (row[f].trimmedLength <= s.maxLength) return std::nullopt;
  if (!row.describe) return RowFinding{f, {}};
  std::string message = std::string{s.name} + " has " + std::to_string(row[f].trimmedLength) +
                        " characters; at most " + std::to_string(s.maxLength) + " are allowed";
  if (!s.uploadLabel.empty()) {
    message += " (the upload tool: \"Row " + std::to_string(row.number) + ": (" +
               std::string{s.uploadLabel} + ") Ensure this value has at most " +
               std::to_string(s.maxLength) + " characters (it has " +
               std::to_string(row[f].trimmedLength) + ").\")";
  }
  return RowFinding{f, std::move(message)};
}

template <class Build>
std::optional<RowFinding> finding(const Row& row, bool holds, Field f, Build build) {
  if (!holds) return std::nullopt;
  return RowFinding{f, text(row, build)};
}

bool outside(const std::optional<double>& v, double low, double high) {
  return v && (*v < low || *v > high);
}

// Whether NOTES hold CREFMAG and, for a row with a check star, KREFMAG:
// both looked for in one pass.
bool holdsReferences(std::string_view notes, bool checkStar) {
  bool comparison = false;
  bool check = !checkStar;
  for (const aeff::Subfield& s : aeff::NotesSubfields{notes}) {
    comparison = comparison || aeff::isSubfieldKey(s, "CREFMAG");
    check = check || aeff::isSubfieldKey(s, "KREFMAG");
    if (comparison && check) return true;
  }
  return false;
}

}  // namespace

namespace row_rules {

// Field rules.

std::optional<std::string> emptyField(const Row& row, Field f) {
  if (row[f].trimmedLength != 0) return std::nullopt;
  return text(row, [&] {
    return std::string{fieldFacts(f).name} + " is empty; write na for a missing value";
  });
}

std::optional<std::string> edgeBlanks(const Row& row, Field f) {
  const FieldText& t = row[f];
  if (t.trimmedLength == 0 || t.trimmedLength == t.length) return std::nullopt;
  const bool front = !t.padded.empty() && (t.padded.front() == ' ' || t.padded.front() == '\t');
  const bool back = t.whole && (t.padded.back() == ' ' || t.padded.back() == '\t');
  const char* where = front && back ? "both ends" : front ? "its start" : "its end";
  return text(row, [&] { return named(row, f) + " has blanks at " + where; });
}

std::optional<std::string> paddedTooLong(const Row& row, Field f) {
  const std::size_t limit = fieldFacts(f).maxLength;
  if (limit == 0 || row[f].length <= limit || row[f].trimmedLength > limit) return std::nullopt;
  return text(row, [&] {
    return named(row, f) + " is " + std::to_string(row[f].length) +
           " characters with its blanks; at most " + std::to_string(limit) + " are allowed";
  });
}

std::optional<std::string> notANumber(const Row& row, Field f) {
  const FieldText& t = row[f];
  if (!isNumericField(row, f) || t.text.empty() || !t.whole || t.number) return std::nullopt;
  // A na where a number is required is its field's own rule (R6, R7).
  if (aeff::sameWord(t.text, "na")) return std::nullopt;
  return text(row, [&] {
    return named(row, f) + " is not a plain decimal number" +
           (fieldFacts(f).content == Content::number ? " or na" : "");
  });
}

// Row rules.

std::optional<RowFinding> starId(const Row& row) {
  if (row.isNa(Field::STARID))
    return RowFinding{Field::STARID, text(row, [] { return "STARID is na; name the star"; })};
  return tooLong(row, Field::STARID);
}
std::optional<RowFinding> starIdPrefix(const Row& row) {
  const std::string_view s = row[Field::STARID].text;
  return finding(row, s.starts_with("V* ") || s.find(';') != std::string_view::npos, Field::STARID,
                 [&] { return named(row, Field::STARID) + " holds a catalogue prefix or a ';'"; });
}
std::optional<RowFinding> date(const Row& row) {
  if ((row.date == DateKind::jd || row.date == DateKind::hjd) && row.isNa(Field::DATE))
    return RowFinding{Field::DATE, text(row, [] { return "DATE is na; a JD or HJD is required"; })};
  return tooLong(row, Field::DATE);
}
std::optional<RowFinding> dateRange(const Row& row) {
  const auto& d = row[Field::DATE].number;
  return finding(row, d && (*d < 2400000.0 || *d > row.latestJulianDate), Field::DATE, [&] {
    return named(row, Field::DATE) + " is before JD 2400000 or after tomorrow";
  });
}
std::optional<RowFinding> datePrecision(const Row& row) {
  const std::string_view d = row[Field::DATE].text;
  if (!row[Field::DATE].number) return std::nullopt;
  const std::size_t point = d.find('.');
  const std::size_t decimals = point == std::string_view::npos ? 0 : d.size() - point - 1;
  return finding(row, decimals < 4, Field::DATE,
                 [&] { return named(row, Field::DATE) + " has fewer than 4 decimals"; });
}
std::optional<RowFinding> magnitude(const Row& row) {
  const FieldText& m = row[Field::MAG];
  if (aeff::sameWord(m.text, "na"))
    return RowFinding{Field::MAG, text(row, [] { return "MAG is na; a magnitude is required"; })};
  if (m.number && m.text.find('.') == std::string_view::npos)
    return RowFinding{Field::MAG, text(row, [&] {
                        return named(row, Field::MAG) + " has no decimal point (write 9.0, not 9)";
                      })};
  return tooLong(row, Field::MAG);
}
std::optional<RowFinding> magnitudeRange(const Row& row) {
  if (!row[Field::MAG].number) return std::nullopt;
  // A not-measured marker (99.99 or more) lies above 25 as well.
  const double mag = *row[Field::MAG].number;
  return finding(
      row, mag < -10 || mag > 25 || (mag < 0 && row.is(Field::MTYPE, "STD")), Field::MAG, [&] {
        return named(row, Field::MAG) +
               " is outside -10 to 25, a not-measured marker, or negative with MTYPE STD";
      });
}
std::optional<RowFinding> merrLength(const Row& row) { return tooLong(row, Field::MERR); }
std::optional<RowFinding> merrLarge(const Row& row) {
  const auto& e = row[Field::MERR].number;
  return finding(row, e && *e >= 1.0, Field::MERR, [&] {
    return named(row, Field::MERR) + " is 1.0 or more; the AAVSO does not accept it";
  });
}
std::optional<RowFinding> merrOdd(const Row& row) {
  const std::optional<double>& e = row[Field::MERR].number;
  const bool fainter = row[Field::MAG].text.starts_with("<");
  const bool notPositive = e.has_value() && e.value() <= 0.0;
  return finding(row, notPositive || (fainter && e.has_value()), Field::MERR, [&] {
    return named(row, Field::MERR) +
           (fainter ? " is given with a '<' magnitude" : " is 0 or below");
  });
}
std::optional<RowFinding> filter(const Row& row) {
  const std::string_view f = row[Field::FILT].text;
  if (f.empty() || aeff::isListedFilter(f) || aeff::isKnownUnlistedFilter(f)) return std::nullopt;
  return RowFinding{Field::FILT, text(row, [&] {
                      return named(row, Field::FILT) + " is not a filter of the format";
                    })};
}
std::optional<RowFinding> unlistedFilter(const Row& row) {
  return finding(row, aeff::isKnownUnlistedFilter(row[Field::FILT].text), Field::FILT, [&] {
    return named(row, Field::FILT) + " is known to the AAVSO but not listed by the format";
  });
}
std::optional<RowFinding> trans(const Row& row) {
  return finding(row,
                 !row[Field::TRANS].text.empty() && !row.is(Field::TRANS, "YES") &&
                     !row.is(Field::TRANS, "NO"),
                 Field::TRANS, [&] { return named(row, Field::TRANS) + " is neither YES nor NO"; });
}
std::optional<RowFinding> transNotes(const Row& row) {
  return finding(row, row.is(Field::TRANS, "YES") && row.isNa(Field::NOTES), Field::NOTES,
                 [&] { return "TRANS is YES but NOTES is na; describe the transformation"; });
}
std::optional<RowFinding> mtype(const Row& row) {
  return finding(row,
                 !row[Field::MTYPE].text.empty() && !row.is(Field::MTYPE, "STD") &&
                     !row.is(Field::MTYPE, "DIF") && !row.is(Field::MTYPE, "ABS"),
                 Field::MTYPE,
                 [&] { return named(row, Field::MTYPE) + " is not STD, DIF or ABS"; });
}
std::optional<RowFinding> differential(const Row& row) {
  return finding(
      row,
      row.is(Field::MTYPE, "DIF") && (!namesStar(row, Field::CNAME) || !row[Field::CMAG].number),
      Field::CNAME, [&] { return "MTYPE DIF needs a comparison star in CNAME and its CMAG"; });
}
std::optional<RowFinding> absolute(const Row& row) {
  return finding(row, row.is(Field::MTYPE, "ABS"), Field::MTYPE,
                 [&] { return "MTYPE ABS is read as STD"; });
}
std::optional<RowFinding> cnameLength(const Row& row) { return tooLong(row, Field::CNAME); }
std::optional<RowFinding> ensembleCmag(const Row& row) {
  return finding(
      row,
      row.is(Field::CNAME, "ENSEMBLE") && !row.isNa(Field::CMAG) && !row[Field::CMAG].text.empty(),
      Field::CMAG, [&] { return "CNAME is ENSEMBLE but CMAG is not na"; });
}
std::optional<RowFinding> cmagLength(const Row& row) { return tooLong(row, Field::CMAG); }
std::optional<RowFinding> singleComparisonCmag(const Row& row) {
  return finding(
      row, row.is(Field::MTYPE, "STD") && namesStar(row, Field::CNAME) && row.isNa(Field::CMAG),
      Field::CMAG, [&] {
        return "MTYPE STD with comparison star " + quoted(row[Field::CNAME].text) +
               " and CMAG na: the check star's magnitude (K - C) cannot be derived";
      });
}
std::optional<RowFinding> knameLength(const Row& row) { return tooLong(row, Field::KNAME); }
std::optional<RowFinding> knameOdd(const Row& row) {
  const bool same = namesStar(row, Field::KNAME) &&
                    aeff::sameWord(row[Field::KNAME].text, row[Field::CNAME].text);
  return finding(row, same || row.is(Field::KNAME, "NO"), Field::KNAME, [&] {
    return named(row, Field::KNAME) +
           (same ? " is the comparison star too" : ": write na for no check star");
  });
}
std::optional<RowFinding> kmagLength(const Row& row) { return tooLong(row, Field::KMAG); }
std::optional<RowFinding> checkStarPair(const Row& row) {
  const bool kname = !row[Field::KNAME].text.empty() && !row.isNa(Field::KNAME);
  const bool kmag = !row[Field::KMAG].text.empty() && !row.isNa(Field::KMAG);
  return finding(row, kname != kmag, kname ? Field::KMAG : Field::KNAME, [&] {
    return kname ? "KNAME " + quoted(row[Field::KNAME].text) + " is given with KMAG na"
                 : std::string{"KMAG is given with KNAME na"};
  });
}
std::optional<RowFinding> kmagRange(const Row& row) {
  return finding(row, outside(row[Field::KMAG].number, -10, 25), Field::KMAG,
                 [&] { return named(row, Field::KMAG) + " is outside -10 to 25"; });
}
std::optional<RowFinding> airmassLength(const Row& row) { return tooLong(row, Field::AIRMASS); }
std::optional<RowFinding> airmassRange(const Row& row) {
  return finding(row, outside(row[Field::AIRMASS].number, 1.0, 10.0), Field::AIRMASS,
                 [&] { return named(row, Field::AIRMASS) + " is below 1.0 or above 10"; });
}
std::optional<RowFinding> group(const Row& row) {
  const std::string_view g = row[Field::GROUP].text;
  return finding(row, !g.empty() && !row.isNa(Field::GROUP) && !isInteger(g), Field::GROUP,
                 [&] { return named(row, Field::GROUP) + " is neither na nor an integer"; });
}
std::optional<RowFinding> groupLength(const Row& row) { return tooLong(row, Field::GROUP); }
std::optional<RowFinding> chartLength(const Row& row) { return tooLong(row, Field::CHART); }
std::optional<RowFinding> chartMissing(const Row& row) {
  return finding(
      row, row.isNa(Field::CHART) && (namesStar(row, Field::CNAME) || namesStar(row, Field::KNAME)),
      Field::CHART, [&] { return "CHART is na while CNAME or KNAME names a chart star"; });
}
std::optional<RowFinding> notesLong(const Row& row) {
  const std::uint64_t n = row[Field::NOTES].trimmedLength;
  return finding(row, n > 100 && n <= 4000, Field::NOTES, [&] {
    return "NOTES has " + std::to_string(n) +
           " characters, more than 100 (the classic upload tool once said: \"Line Number " +
           std::to_string(row.line) + ": The notes field should not exceed 100 characters\")";
  });
}
std::optional<RowFinding> notesVeryLong(const Row& row) {
  const std::uint64_t n = row[Field::NOTES].trimmedLength;
  return finding(row, n > 4000, Field::NOTES,
                 [&] { return "NOTES has " + std::to_string(n) + " characters, more than 4000"; });
}
std::optional<RowFinding> notesSubfields(const Row& row) {
  const FieldText& notes = row[Field::NOTES];
  const auto bad = aeff::firstMalformedSubfield(notes.text);
  if (!bad) return std::nullopt;
  // The last subfield of NOTES read only in part is cut, not malformed.
  if (!notes.whole && bad->text.data() + bad->text.size() == notes.text.data() + notes.text.size())
    return std::nullopt;
  return RowFinding{Field::NOTES, text(row, [&] {
                      return "NOTES subfield " + quoted(bad->text) + " is not KEY=value";
                    })};
}
std::optional<RowFinding> untransformable(const Row& row) {
  const std::string_view notes = row[Field::NOTES].text;
  const bool kname = namesStar(row, Field::KNAME);
  const bool notesCut = !row[Field::NOTES].whole;
  return finding(
      row,
      row.is(Field::MTYPE, "STD") && namesStar(row, Field::CNAME) && !holdsReferences(notes, kname),
      Field::NOTES, [&] {
        // Flat memory keeps only a line's first bytes: what was not read is
        // not said to be missing.
        if (notesCut) {
          return "MTYPE STD with a single comparison star and no CREFMAG / KREFMAG in the line's "
                 "first " +
                 std::to_string(LineScanner::keptBytes) +
                 " bytes, which are all that check reads of a line: the rest of NOTES was not "
                 "read, so whether the observation can be transformed later is not known";
        }
        return std::string{
            "MTYPE STD with a single comparison star and no CREFMAG / KREFMAG in NOTES: "
            "the observation cannot be transformed later"};
      });
}

}  // namespace row_rules

bool Row::is(Field f, std::string_view word) const { return aeff::sameWord((*this)[f].text, word); }

void readNumber(Row& row, std::size_t field) {
  FieldText& t = row.fields[field];
  const auto f = static_cast<Field>(field);
  std::string_view text = t.text;
  if (f == Field::MAG && text.starts_with("<")) text.remove_prefix(1);
  t.number = t.whole && isNumericField(row, f) ? readPlainDecimal(text) : std::nullopt;
  t.na = t.text.size() == 2 && aeff::sameWord(t.text, "na");
}

}  // namespace varistellar::check
