// One report's check: the file rules and the parameter lines here, the
// observation lines through the row rules' tables.
#include "check/report_checker.h"

#include <bit>
#include <cstring>

#include "aeff/format.h"
#include "check/text.h"

namespace varistellar::check {

using aeff::Field;
using aeff::sameWord;

namespace {

constexpr std::size_t tableSize = 16384;  // twice the window: the tables stay half empty

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Eight bytes with their small letters made capitals.
std::uint64_t capitals(std::uint64_t x) {
  constexpr std::uint64_t ones = 0x0101010101010101ull;
  constexpr std::uint64_t high = 0x80 * ones;
  const std::uint64_t low = x & ~high;
  const std::uint64_t fromA = low + (0x80 - 'a') * ones;      // high bit set from 'a' on
  const std::uint64_t pastZ = low + (0x80 - 'z' - 1) * ones;  // high bit set past 'z'
  return x ^ ((fromA & ~pastZ & ~x & high) >> 2);
}

std::uint64_t mixed(std::uint64_t h, std::uint64_t word) {
  h = (h ^ word) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 32);
}

// STARID, DATE and FILT without regard to case, eight bytes at a time.
std::uint64_t fingerprint(const Row& row) {
  std::uint64_t h = 1469598103934665603ull;
  for (const Field f : {Field::STARID, Field::DATE, Field::FILT}) {
    const std::string_view text = row[f].text;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, text.data() + at, 8);
      h = mixed(h, capitals(word));
    }
    std::uint64_t tail = 0;
    for (; at < text.size(); ++at) tail = tail << 8 | static_cast<unsigned char>(text[at]);
    h = mixed(mixed(h, capitals(tail)), text.size());
  }
  return h == 0 ? 1 : h;
}

std::string byteName(unsigned char c) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string s = "0x";
  s.push_back(hex[c >> 4]);
  s.push_back(hex[c & 0xF]);
  return s;
}

}  // namespace

ReportChecker::ReportChecker(std::string_view file, std::int64_t todaySeconds)
    : file_{file},
      findings_{file},
      scanner_{[this](const ScannedLine& l) { line(l); }},
      latestJulianDate_{2440587.5 + static_cast<double>(todaySeconds) / 86400.0 + 1.0},
      recent_(tableSize),
      older_(tableSize),
      recentLines_(tableSize),
      olderLines_(tableSize) {
  for (std::string& copy : lineCopies_) copy.reserve(copyLimit);
  if (!aeff::isReportFileName(file_))
    findings_.report(Rule::F3, 0, 0, "the file name does not end in .txt, .csv or .tsv");
}

void ReportChecker::line(const ScannedLine& l) {
  if (l.number == 1 && scanner_.byteOrderMark())
    findings_.report(Rule::F2, 1, 1, "the file starts with a UTF-8 byte order mark");
  if (l.end != LineEnd::none) {
    if (firstEnd_ == LineEnd::none) {
      firstEnd_ = l.end;
    } else if (l.end != firstEnd_ && !endsMixed_) {
      endsMixed_ = true;
      findings_.report(Rule::F4, l.number, 0, "LF and CR LF line ends are mixed in the file");
    }
  }
  // A bare CR is counted apart from the mixed line ends.
  if (l.bareCr) findings_.report(Rule::F4, l.number, 0, "a CR stands alone, not before an LF", 0);
  if (l.badColumn != 0) {
    findings_.report(Rule::F1, l.number, l.badColumn,
                     "byte " + byteName(l.badByte) + " is not printable ASCII");
  }
  if (l.end == LineEnd::none)
    findings_.report(Rule::F6, l.number, 0, "the last line has no line end");
  if (l.allBlank) {
    findings_.report(Rule::F5, l.number, 0, "a blank line that is not commented out");
    return;
  }
  if (!l.kept.empty() && l.kept.front() == '#') {
    parameterLine(l);
    return;
  }
  if (const std::size_t first = l.kept.find_first_not_of(" \t");
      first < l.kept.size() && l.kept[first] == '#')
    findings_.report(Rule::F7, l.number, first + 1,
                     "'#' must stand in column 1; this is read as an observation");
  observationLine(l);
}

void ReportChecker::parameterLine(const ScannedLine& l) {
  // A parameter can change how the rows are read: the next row is judged whole.
  previousKept_ = false;
  const std::string_view text = l.kept.substr(1);
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return;  // a comment or the column-title line
  const std::string_view rawKey = text.substr(0, eq);
  const std::string_view key = trimBlanks(rawKey);
  bool known = false;
  for (const std::string_view k : aeff::parameterKeys) known = known || sameWord(k, key);
  if (!known) return;  // a comment with another key
  std::string_view value = text.substr(eq + 1);
  if (key.size() != rawKey.size() || (!value.empty() && isBlank(value.front())))
    findings_.report(Rule::P10, l.number, 0, "blanks around '=' in #" + std::string{key} + "=");
  if (sameWord(key, "DELIM")) {
    delimiter(l, value);
    return;
  }
  parameter(l, key, trimBlanks(value));
}

void ReportChecker::parameter(const ScannedLine& l, std::string_view key, std::string_view value) {
  Key k = type;
  if (sameWord(key, "OBSCODE")) k = obscode;
  if (sameWord(key, "SOFTWARE")) k = software;
  if (sameWord(key, "DATE")) k = date;
  if (sameWord(key, "OBSTYPE")) k = obstype;
  const std::string upper{key.begin(), key.end()};
  if (given_[k] && (k == obscode || k == date)) {
    if (!sameWord(value_[k], value))
      findings_.report(Rule::P3, l.number, 0,
                       "#" + upper + " changes from " + quoted(value_[k]) + " to " + quoted(value) +
                           "; later rows use it");
  } else if (given_[k] && (observations_ != 0 || !sameWord(value_[k], value))) {
    findings_.report(Rule::P8, l.number, 0, "#" + upper + " is given again");
  }
  given_[k] = true;
  value_[k] = std::string{value};
  switch (k) {
    case type:
      if (!sameWord(value, "EXTENDED"))
        findings_.report(Rule::P1, l.number, 0, "#TYPE is " + quoted(value) + ", not EXTENDED");
      break;
    case obscode: {
      if (value.empty() || sameWord(value, "na") || sameWord(value, "N/A") ||
          sameWord(value, "XXX") || value == "?") {
        findings_.report(Rule::P2, l.number, 0,
                         "#OBSCODE is " + quoted(value) + ", not an observer code");
        break;
      }
      bool plain = value.size() <= 5;
      for (const char c : value)
        plain =
            plain && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
      if (!plain)
        findings_.report(Rule::P2b, l.number, 0,
                         "#OBSCODE " + quoted(value) + " is not 1 to 5 letters or digits");
      break;
    }
    case software: {
      const std::uint64_t length = l.length - (l.kept.size() - value.size());
      if (value.empty() || length > aeff::softwareMaxLength)
        findings_.report(Rule::P4, l.number, 0, "#SOFTWARE is empty or longer than 255 characters");
      break;
    }
    case date:
      if (sameWord(value, "JD")) {
        date_ = DateKind::jd;
        sawJd_ = true;
      } else if (sameWord(value, "HJD")) {
        date_ = DateKind::hjd;
        sawHjd_ = true;
      } else if (sameWord(value, "EXCEL")) {
        date_ = DateKind::excel;
        findings_.report(
            Rule::P6b, l.number, 0,
            "#DATE=EXCEL is longer than DATE's limit and unread by the AAVSO's readers");
      } else {
        date_ = DateKind::other;
        findings_.report(Rule::P6, l.number, 0,
                         "#DATE is " + quoted(value) + ", not JD, HJD or EXCEL");
      }
      if (sawJd_ && sawHjd_)
        findings_.report(Rule::P6c, l.number, 0, "JD and HJD are mixed through a repeated #DATE");
      break;
    case obstype:
      if (!sameWord(value, "CCD") && !sameWord(value, "DSLR") && !sameWord(value, "PEP"))
        findings_.report(Rule::P7, l.number, 0,
                         "#OBSTYPE is " + quoted(value) + ", not CCD, DSLR or PEP");
      break;
    default: break;
  }
}

void ReportChecker::delimiter(const ScannedLine& l, std::string_view raw) {
  const std::string_view value = trimBlanks(raw);
  if (given_[delim] && (observations_ != 0 || value_[delim] != value))
    findings_.report(Rule::P8, l.number, 0, "#DELIM is given again");
  given_[delim] = true;
  value_[delim] = std::string{value};
  char chosen = ',';
  if (raw.size() == 1 && raw[0] != ' ' && raw[0] != '|' && raw[0] != '#' && raw[0] > 0x20 &&
      raw[0] < 0x7F) {
    chosen = raw[0];
    const char c = chosen;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
        c == '-' || c == '+' || c == '<' || c == ':')
      findings_.report(Rule::P5c, l.number, 0,
                       "#DELIM " + quoted(raw) + " can stand inside a number or a name");
  } else if (sameWord(value, "tab")) {
    chosen = '\t';
  } else if (sameWord(value, "comma")) {
    chosen = ',';
  } else if (sameWord(value, "space")) {
    chosen = ' ';
    findings_.report(Rule::P5b, l.number, 0,
                     "#DELIM=space is read differently by the AAVSO's readers");
  } else if (isInteger(value) && value.size() <= 3 && plainDecimalValue(value) > 32 &&
             plainDecimalValue(value) < 127) {
    chosen = static_cast<char>(static_cast<int>(*plainDecimalValue(value)));
    findings_.report(Rule::P5b, l.number, 0,
                     "#DELIM given as the number " + quoted(value) +
                         " is read differently by the AAVSO's readers");
  } else if (value.size() == 1 && value[0] != '|' && value[0] != '#') {
    chosen = value[0];
    findings_.report(Rule::P5b, l.number, 0, "#DELIM " + quoted(raw) + " has blanks around it");
  } else {
    findings_.report(Rule::P5, l.number, 0,
                     "#DELIM " + quoted(raw) + " is not a delimiter (one character, tab or comma)");
    if (value.size() == 1) chosen = value[0];
  }
  scanner_.setDelimiter(chosen);
}

namespace {

// Whether two short byte runs are equal, a word at a time.
bool sameBytes(const char* a, const char* b, std::size_t n) {
  for (; n >= 8; a += 8, b += 8, n -= 8) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    if (x != y) return false;
  }
  if (n >= 4) {  // the first four bytes and the last four, which may overlap
    std::array<std::uint32_t, 4> words{};
    std::memcpy(words.data(), a, 4);
    std::memcpy(&words[1], b, 4);
    std::memcpy(&words[2], a + n - 4, 4);
    std::memcpy(&words[3], b + n - 4, 4);
    return words[0] == words[1] && words[2] == words[3];
  }
  return n == 0 || (a[0] == b[0] && a[n / 2] == b[n / 2] && a[n - 1] == b[n - 1]);
}

// A field of the line as the rules read it, written in place.
void fillField(const ScannedLine& l, std::size_t i, FieldText& t) {
  const FieldSpan& s = l.fields[i];
  t.length = s.length;
  t.trimmedLength = s.leading == s.length ? 0 : s.length - s.leading - s.trailing;
  t.column = s.start + 1;
  if (l.whole()) {
    // A whole line is in memory: its columns are sizes.
    t.padded = {l.kept.data() + s.start, static_cast<std::size_t>(s.length)};
    t.whole = true;
    // The scanner has counted the edge blanks.
    t.text = {t.padded.data() + s.leading, static_cast<std::size_t>(t.trimmedLength)};
    return;
  }
  const std::uint64_t kept = l.kept.size();
  const std::uint64_t start = s.start < kept ? s.start : kept;
  const std::uint64_t end = s.start + s.length < kept ? s.start + s.length : kept;
  t.padded = l.kept.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
  t.whole = end - start == s.length;
  t.text = trimBlanks(t.padded);
}

}  // namespace

void ReportChecker::observationLine(const ScannedLine& l) {
  const auto fieldText = [&l](std::size_t i) {
    FieldText t;
    fillField(l, i, t);
    return t;
  };
  // A column-title line without its '#' is no observation. Its first field,
  // without its blanks, is as long as STARID or NAME.
  const FieldSpan& head = l.fields[0];
  const std::uint64_t headLength =
      head.leading == head.length ? 0 : head.length - head.leading - head.trailing;
  if (l.fieldCount >= 2 && (!l.whole() || headLength == 6 || headLength == 4)) {
    const FieldText first = fieldText(0);
    const FieldText second = fieldText(1);
    if ((sameWord(first.text, "STARID") || sameWord(first.text, "NAME")) &&
        sameWord(second.text, "DATE")) {
      findings_.report(Rule::P9, l.number, 1, "the column-title line lacks its '#'");
      return;
    }
  }
  ++observations_;
  if (!(given_[type] && given_[obscode] && given_[software] && given_[delim] && given_[date]))
    findings_.report(Rule::F8, l.number, 0,
                     "an observation before #TYPE, #OBSCODE, #SOFTWARE, #DELIM and #DATE");
  if (l.fieldCount != aeff::fieldCount) {
    const bool fewer = l.fieldCount < aeff::fieldCount;
    findings_.report(Rule::R1, l.number, 0,
                     std::to_string(l.fieldCount) + " fields, not 15" +
                         (fewer ? "; is the line cut short or wrapped?"
                                : "; does a field (often NOTES) hold the delimiter?"),
                     fewer ? 0 : 1);
    return;
  }
  // One row, reused from line to line: its fields are written in place.
  Row& row = row_;
  row.line = l.number;
  row.number = observations_;
  row.date = date_;
  row.latestJulianDate = latestJulianDate_;
  const FieldSet changed = fillRow(l);
  for (std::size_t i = 0; i < aeff::fieldCount; ++i) {
    // A field as on the previous row keeps its number and na.
    if ((changed >> i & 1u) != 0) readNumber(row, i);
  }
  // The rules first only ask whether they hold; a finding that will be
  // printed is asked again for its text. A rule whose fields are as on the
  // previous row holds as it held there, and is only counted again.
  row.describe = false;
  FieldSet padded = 0;  // empty, or with edge blanks
  for (std::size_t i = 0; i < aeff::fieldCount; ++i) {
    const FieldText& t = row.fields[i];
    if (t.trimmedLength != t.length || t.length == 0)
      padded = static_cast<FieldSet>(padded | 1u << i);
  }
  for (std::size_t r = 0; r < fieldRules.size(); ++r) {
    const FieldRule& rule = fieldRules[r];
    FieldSet& held = fieldHeld_[r];
    const FieldSet asked = rule.onlyPadded ? padded : allFields;
    // In field order: the changed fields judged, the others counted if they held.
    for (FieldSet left = asked & (changed | held); left != 0; left &= left - 1) {
      const auto i = static_cast<std::size_t>(std::countr_zero(left));
      const FieldSet bit = static_cast<FieldSet>(1u << i);
      if ((changed & bit) == 0 && findings_.countAgain(rule.rule, i)) continue;
      const auto field = static_cast<Field>(i);
      auto text = rule.check(row, field);
      held = static_cast<FieldSet>(text ? held | bit : held & ~bit);
      if (!text) continue;
      if (findings_.wantsText(rule.rule, i)) {
        row.describe = true;
        text = rule.check(row, field);
        row.describe = false;
      }
      findings_.report(rule.rule, l.number, row.fields[i].column, std::move(*text), i);
    }
  }
  for (std::size_t r = 0; r < rowRules.size(); ++r) {
    const RowRule& rule = rowRules[r];
    std::uint8_t& held = rowHeld_[r];
    if ((rule.reads & changed) == 0) {
      if (held == 0 || findings_.countAgain(rule.rule, held - 1u)) continue;
    }
    auto f = rule.check(row);
    held = f ? static_cast<std::uint8_t>(aeff::index(f->field) + 1) : 0;
    if (!f) continue;
    if (findings_.wantsText(rule.rule, aeff::index(f->field))) {
      row.describe = true;
      f = rule.check(row);
      row.describe = false;
    }
    const std::size_t i = aeff::index(f->field);
    findings_.report(rule.rule, l.number, row.fields[i].column, std::move(f->text), i);
  }
  duplicates(row);
}

FieldSet ReportChecker::fillRow(const ScannedLine& l) {
  const bool keep = l.whole() && l.length <= copyLimit;
  if (!keep) {
    for (std::size_t i = 0; i < aeff::fieldCount; ++i) fillField(l, i, row_.fields[i]);
    previousKept_ = false;
    return allFields;
  }
  // The row's fields point into its own copy of the line, so that the next
  // row can be compared with them; the two copies take turns.
  copy_ ^= 1u;
  std::string& bytes = lineCopies_[copy_];
  bytes.assign(l.kept);
  const char* const base = bytes.data();
  FieldSet changed = 0;
  for (std::size_t i = 0; i < aeff::fieldCount; ++i) {
    const FieldSpan& s = l.fields[i];
    FieldText& t = row_.fields[i];
    const std::string_view now{base + s.start, static_cast<std::size_t>(s.length)};
    if (!previousKept_ || now.size() != t.padded.size() ||
        !sameBytes(now.data(), t.padded.data(), now.size()))
      changed = static_cast<FieldSet>(changed | 1u << i);
    t.length = s.length;
    t.trimmedLength = s.leading == s.length ? 0 : s.length - s.leading - s.trailing;
    t.column = s.start + 1;
    t.padded = now;
    t.whole = true;
    t.text = {base + s.start + s.leading, static_cast<std::size_t>(t.trimmedLength)};
  }
  previousKept_ = true;
  return changed;
}

void ReportChecker::duplicates(const Row& row) {
  const std::uint64_t print = fingerprint(row);
  const auto find = [print](const std::vector<std::uint64_t>& table) {
    std::size_t at = print & (tableSize - 1);
    while (table[at] != 0 && table[at] != print) at = (at + 1) & (tableSize - 1);
    return at;
  };
  for (auto* pair : {&recent_, &older_}) {
    const std::size_t at = find(*pair);
    if ((*pair)[at] == print) {
      const auto& lines = pair == &recent_ ? recentLines_ : olderLines_;
      findings_.report(Rule::F11, row.line, 0,
                       "STARID, DATE and FILT as on line " + std::to_string(lines[at]));
      return;
    }
  }
  if (recentCount_ == window) {
    recent_.swap(older_);
    recentLines_.swap(olderLines_);
    std::fill(recent_.begin(), recent_.end(), 0);
    recentCount_ = 0;
  }
  const std::size_t at = find(recent_);
  recent_[at] = print;
  recentLines_[at] = row.line;
  ++recentCount_;
}

std::uint64_t ReportChecker::finish(diagnostics::DiagnosticList& list) {
  scanner_.finish();
  static constexpr std::array<std::pair<Rule, const char*>, 5> required{{
      {Rule::P1, "#TYPE=EXTENDED is missing"},
      {Rule::P2, "#OBSCODE= is missing"},
      {Rule::P4, "#SOFTWARE= is missing"},
      {Rule::P5, "#DELIM= is missing"},
      {Rule::P6, "#DATE= is missing"},
  }};
  for (std::size_t k = 0; k < required.size(); ++k) {
    if (!given_[k]) findings_.report(required[k].first, 0, 0, required[k].second);
  }
  if (!given_[obstype])
    findings_.report(Rule::P7absent, 0, 0, "#OBSTYPE is missing; CCD is assumed");
  if (observations_ == 0) {
    findings_.report(Rule::F9, 0, 0, "no observation line");
  } else {
    findings_.report(Rule::F10, 0, 0, std::to_string(observations_) + " observation lines");
  }
  findings_.moveInto(list);
  return observations_;
}

}  // namespace varistellar::check
