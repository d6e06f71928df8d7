// The coefficient file, read strictly in the sections that are read.
#include "transform/coefficient_file.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "diagnostics/quoted.h"
#include "textio/exact_decimal.h"
#include "textio/line_reader.h"

namespace varistellar::transform {
namespace {

using diagnostics::DiagnosticSink;
using diagnostics::quoted;

// The findings that can repeat on every line of a file that is not one.
constexpr diagnostics::FindingKind notDecimal{"more value is not a decimal number",
                                              "more values are not decimal numbers"};
constexpr diagnostics::FindingKind notEntryLine{
    "more line is not KEY= value, a [Section] line or a comment",
    "more lines are not KEY= value, [Section] lines or comments"};

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char byte) { return byte == ' ' || byte == '\t'; }

char lowered(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : byte; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowered(x) == lowered(y);
         });
}

// A part of a line without its edge blanks, and the column it starts in
// (from 1).
struct Piece {
  std::string_view text;
  std::uint64_t column = 1;
};

Piece trimmed(std::string_view line, std::size_t from, std::size_t to) {
  while (from < to && isBlank(line[from])) ++from;
  while (to > from && isBlank(line[to - 1])) --to;
  return {line.substr(from, to - from), from + 1};
}

// What a value that is no number most likely is, so that the user knows what
// to fix.
std::string_view hint(std::string_view value) {
  if (value.find(',') != std::string_view::npos) {
    return "; write a point for the decimals, not a comma";
  }
  if (std::count(value.begin(), value.end(), '.') > 1) return "; a number has one point at most";
  return "; write a decimal number such as -0.0467 or -4.67e-2";
}

std::string_view sectionTitle(CoefficientSection section) {
  return section == CoefficientSection::coefficients ? "[Coefficients]" : "[Error]";
}

// The file's lines, one at a time: which section they stand in, and each
// entry of a section that is read.
class CoefficientParser {
 public:
  CoefficientParser(const std::string& path, DiagnosticSink& findings)
      : path_{path}, findings_{findings} {}

  // Takes line `number`; false when the file is to be read no further.
  [[nodiscard]] bool take(std::string_view line, std::uint64_t number) {
    lines_ = number;
    if (number == 1 && line.starts_with(byteOrderMark)) line.remove_prefix(byteOrderMark.size());
    if (line.find('\0') != std::string_view::npos) {
      fault(number, night::nulByteMessage(coefficientFileInput));
      return false;
    }
    const Piece whole = trimmed(line, 0, line.size());
    if (whole.text.empty() || whole.text.front() == ';' || whole.text.front() == '#') return true;
    // A section line is judged in any section: a mistyped one would hide the
    // entries below it.
    if (whole.text.front() == '[') {
      sectionLine(whole, number);
      return true;
    }
    if (!section_) return true;
    return entryLine(line, whole, number);
  }

  // A fault of the reading itself, after which nothing more is read.
  void fault(std::uint64_t line, std::string text) {
    stopped_ = true;
    error(line, 0, std::move(text));
  }

  [[nodiscard]] CoefficientReading finish() {
    if (!stopped_ && !sawCoefficients_) {
      error(0, 0,
            lines_ == 0 ? "the coefficient file is empty; it needs a [Coefficients] section"
                        : "the file has no [Coefficients] section, so it holds no "
                          "transformation coefficients");
    }
    return {std::move(file_), errors_ == 0};
  }

 private:
  void sectionLine(const Piece& whole, std::uint64_t number) {
    section_.reset();
    if (whole.text.size() < 2 || whole.text.back() != ']') {
      error(
          number, whole.column,
          quoted(whole.text) + " is not a section line; write [NAME] with nothing after the \"]\"",
          &notEntryLine);
      return;
    }
    const std::string_view name = trimmed(whole.text, 1, whole.text.size() - 1).text;
    if (equalIgnoringCase(name, "Coefficients")) {
      section_ = CoefficientSection::coefficients;
      sawCoefficients_ = true;
    } else if (equalIgnoringCase(name, "Error")) {
      section_ = CoefficientSection::error;
    }
  }

  // KEY= value; false when the section can keep no more entries.
  [[nodiscard]] bool entryLine(std::string_view line, const Piece& whole, std::uint64_t number) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      error(number, whole.column,
            quoted(whole.text) + " is not KEY= value, a [Section] line or a comment",
            &notEntryLine);
      return true;
    }
    const Piece key = trimmed(line, 0, equals);
    const Piece value = trimmed(line, equals + 1, line.size());
    if (key.text.empty()) {
      error(number, whole.column,
            quoted(whole.text) + " has no key before the \"=\"; write KEY= value", &notEntryLine);
      return true;
    }
    if (value.text.empty()) {
      error(number, equals + 2,
            quoted(key.text) + " has no value; write a decimal number after the \"=\"",
            &notDecimal);
      return true;
    }
    const std::string valueText = "the value " + quoted(value.text) + " of " + quoted(key.text);
    if (!textio::isDecimalWithExponent(value.text)) {
      error(number, value.column,
            valueText + " is not a decimal number" + std::string{hint(value.text)}, &notDecimal);
      return true;
    }
    const std::optional<double> read = textio::readExactDecimalWithExponent(value.text);
    if (!read) {
      error(number, value.column,
            valueText + " is out of range; a coefficient is a small number such as -0.0467",
            &notDecimal);
      return true;
    }
    // A negative error would be published as "+/- -0.5000" and square away
    // unseen in MERR.
    if (*section_ == CoefficientSection::error && *read < 0) {
      error(number, value.column,
            valueText + " in [Error] is negative; an error is a size, such as 0.0070", &notDecimal);
      return true;
    }
    // An error of -0 is 0: no sign to publish.
    const bool inErrors = *section_ == CoefficientSection::error;
    if (!file_.set(*section_,
                   {std::string{key.text}, inErrors && *read == 0 ? 0.0 : *read, number})) {
      fault(number, std::string{sectionTitle(*section_)} + " holds more than " +
                        std::to_string(CoefficientFile::maxEntriesPerSection) +
                        " keys, so the file does not look like a coefficient file; it is read "
                        "no further");
      return false;
    }
    return true;
  }

  void error(std::uint64_t line, std::uint64_t column, std::string text,
             const diagnostics::FindingKind* kind = nullptr) {
    ++errors_;
    findings_.error(path_, line, column, std::move(text), kind);
  }

  const std::string& path_;
  DiagnosticSink& findings_;
  CoefficientFile file_;
  std::optional<CoefficientSection> section_;  // none: the lines are passed over
  std::uint64_t lines_ = 0;                    // the lines taken
  std::size_t errors_ = 0;
  bool sawCoefficients_ = false;
  bool stopped_ = false;  // the file is read no further
};

// Text in memory as lines, with the file reader's rules: LF ends a line, CR
// is dropped, a line longer than the reader takes ends the reading.
class TextLines {
 public:
  explicit TextLines(std::string_view text) : rest_{text} {}

  [[nodiscard]] bool next(std::string_view& line) {
    if (longLine_ || rest_.empty()) return false;
    const std::size_t lf = rest_.find('\n');
    const std::size_t length = lf == std::string_view::npos ? rest_.size() : lf;
    if (length > textio::LineReader::maxLineLength) {
      longLine_ = true;
      return false;
    }
    line = rest_.substr(0, length);
    rest_.remove_prefix(lf == std::string_view::npos ? length : length + 1);
    ++lineNumber_;
    if (line.find('\r') != std::string_view::npos) {
      withoutCr_.assign(line);
      withoutCr_.erase(std::remove(withoutCr_.begin(), withoutCr_.end(), '\r'), withoutCr_.end());
      line = withoutCr_;
    }
    return true;
  }
  [[nodiscard]] std::uint64_t lineNumber() const { return lineNumber_; }
  [[nodiscard]] bool stoppedAtLongLine() const { return longLine_; }

 private:
  std::string_view rest_;
  std::string withoutCr_;  // the line, when it holds a CR
  std::uint64_t lineNumber_ = 0;
  bool longLine_ = false;
};

// Hands every line to `parser` until the end or a fault; true when the
// parser took them all.
template <class Lines>
bool takeLines(Lines& lines, CoefficientParser& parser) {
  std::string_view line;
  while (lines.next(line)) {
    if (!parser.take(line, lines.lineNumber())) return false;
  }
  return true;
}

}  // namespace

bool CoefficientFile::IgnoringCase::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return lowered(x) < lowered(y); });
}

const CoefficientFile::Entries& CoefficientFile::entriesOf(CoefficientSection section) const {
  return section == CoefficientSection::coefficients ? coefficients_ : errors_;
}

const Coefficient* CoefficientFile::find(const Entries& entries, std::string_view name) {
  const auto found = entries.byName.find(name);
  return found == entries.byName.end() ? nullptr : &entries.inOrder[found->second];
}

const Coefficient* CoefficientFile::coefficient(std::string_view name) const {
  return find(coefficients_, name);
}

const Coefficient* CoefficientFile::error(std::string_view name) const {
  return find(errors_, name);
}

const std::vector<Coefficient>& CoefficientFile::entries(CoefficientSection section) const {
  return entriesOf(section).inOrder;
}

bool CoefficientFile::set(CoefficientSection section, Coefficient entry) {
  Entries& kept = section == CoefficientSection::coefficients ? coefficients_ : errors_;
  const auto found = kept.byName.find(entry.name);
  if (found != kept.byName.end()) {
    kept.inOrder[found->second] = std::move(entry);
    return true;
  }
  if (kept.inOrder.size() == maxEntriesPerSection) return false;
  kept.byName.emplace(entry.name, kept.inOrder.size());
  kept.inOrder.push_back(std::move(entry));
  return true;
}

CoefficientReading readCoefficientFile(const std::string& path, DiagnosticSink& findings) {
  CoefficientParser parser{path, findings};
  textio::LineReader reader{path};
  if (const auto fault = night::unreadableAsLines(path, reader, coefficientFileInput)) {
    parser.fault(0, *fault);
    return parser.finish();
  }
  if (takeLines(reader, parser)) {
    if (const auto fault = night::readingFault(reader, coefficientFileInput)) {
      parser.fault(fault->line, fault->text);
    }
  }
  return parser.finish();
}

CoefficientReading readCoefficientText(std::string_view text, const std::string& path,
                                       DiagnosticSink& findings) {
  CoefficientParser parser{path, findings};
  if (const auto fault = night::notLinesOfText(text.substr(0, textio::LineReader::bufferSize),
                                               coefficientFileInput)) {
    parser.fault(0, *fault);
    return parser.finish();
  }
  TextLines lines{text};
  if (takeLines(lines, parser) && lines.stoppedAtLongLine()) {
    parser.fault(lines.lineNumber() + 1, night::longLineMessage(coefficientFileInput));
  }
  return parser.finish();
}

bool isCoefficientFileBeginning(std::string_view beginning) {
  std::size_t start = 0;
  while (start < beginning.size()) {
    std::size_t end = beginning.find('\n', start);
    if (end == std::string_view::npos) end = beginning.size();
    std::string_view line = beginning.substr(start, end - start);
    start = end + 1;
    const std::size_t open = line.find_first_not_of(" \t");
    const std::size_t close = line.find_last_not_of(" \t\r");
    if (open == std::string_view::npos || line[open] != '[' || line[close] != ']') continue;
    line = line.substr(open + 1, close - open - 1);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) continue;
    line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
    if (line.size() == 12 &&
        std::equal(line.begin(), line.end(), "coefficients", [](char a, char b) {
          return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
        })) {
      return true;
    }
  }
  return false;
}

}  // namespace varistellar::transform
