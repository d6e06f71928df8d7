// The parameter lines' table and the judge of each parameter's value.
#include "check/header_rules.h"

#include <optional>

#include "aeff/format.h"
#include "aeff/vocabulary.h"
#include "check/text.h"

namespace varistellar::check {

using aeff::sameWord;

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A byte that can delimit fields: printable, not a blank.
bool isVisible(char c) { return c > 0x20 && c < 0x7F; }

}  // namespace

// In the order a report writes them, which is also the order their absence
// is reported in.
const std::array<HeaderRules::Parameter, 6> HeaderRules::parameters_{{
    {"TYPE", true, rule("P1"), "#TYPE=EXTENDED is missing", Again::givenAgain, &HeaderRules::type},
    {"OBSCODE", true, rule("P2"), "#OBSCODE= is missing", Again::changes, &HeaderRules::obscode},
    {"SOFTWARE", true, rule("P4"), "#SOFTWARE= is missing", Again::givenAgain,
     &HeaderRules::software},
    {"DELIM", true, rule("P5"), "#DELIM= is missing", Again::givenAgainExactly,
     &HeaderRules::delimiter},
    {"DATE", true, rule("P6"), "#DATE= is missing", Again::changes, &HeaderRules::dateKind},
    {"OBSTYPE", false, rule("P7", Severity::note), "#OBSTYPE is missing; CCD is assumed",
     Again::givenAgain, &HeaderRules::obstype},
}};

void HeaderRules::line(const ScannedLine& l, std::uint64_t observations) {
  const std::string_view text = l.kept.substr(1);
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return;  // a comment or the column-title line
  const std::string_view rawKey = text.substr(0, eq);
  const std::string_view key = trimBlanks(rawKey);
  std::size_t k = 0;
  while (k < parameters_.size() && !sameWord(parameters_[k].key, key)) ++k;
  if (k == parameters_.size()) return;  // a comment with another key
  const Parameter& p = parameters_[k];
  const std::string_view raw = text.substr(eq + 1);
  if (key.size() != rawKey.size() || (!raw.empty() && isBlank(raw.front())))
    findings_.report(rule("P10"), l.number, 0, "blanks around '=' in #" + std::string{key} + "=");
  const std::string_view value = trimBlanks(raw);
  if (given_[k]) {
    const std::string& before = value_[k];
    if (p.again == Again::changes) {
      if (!sameWord(before, value))
        findings_.report(rule("P3"), l.number, 0,
                         "#" + std::string{key} + " changes from " + quoted(before) + " to " +
                             quoted(value) + "; later rows use it");
    } else if (observations != 0 ||
               (p.again == Again::givenAgain ? !sameWord(before, value) : before != value)) {
      // The delimiter is named as the table names it, a word as written.
      const std::string_view named = p.again == Again::givenAgainExactly ? p.key : key;
      findings_.report(rule("P8"), l.number, 0, "#" + std::string{named} + " is given again");
    }
  }
  given_[k] = true;
  value_[k] = std::string{value};
  (this->*p.judge)(l, raw, value);
}

bool HeaderRules::complete() const {
  for (std::size_t k = 0; k < parameters_.size(); ++k) {
    if (parameters_[k].required && !given_[k]) return false;
  }
  return true;
}

void HeaderRules::finish() {
  for (std::size_t k = 0; k < parameters_.size(); ++k) {
    if (!given_[k])
      findings_.report(parameters_[k].missing, 0, 0, std::string{parameters_[k].missingText});
  }
}

void HeaderRules::type(const ScannedLine& l, std::string_view, std::string_view value) {
  if (!sameWord(value, "EXTENDED"))
    findings_.report(rule("P1"), l.number, 0, "#TYPE is " + quoted(value) + ", not EXTENDED");
}

void HeaderRules::obscode(const ScannedLine& l, std::string_view, std::string_view value) {
  if (value.empty() || aeff::isPlaceholder(value)) {
    findings_.report(rule("P2"), l.number, 0,
                     "#OBSCODE is " + quoted(value) + ", not an observer code");
    return;
  }
  bool plain = value.size() <= 5;
  for (const char c : value)
    plain = plain && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
  if (!plain)
    findings_.report(rule("P2b"), l.number, 0,
                     "#OBSCODE " + quoted(value) + " is not 1 to 5 letters or digits");
}

void HeaderRules::software(const ScannedLine& l, std::string_view, std::string_view value) {
  // The line's whole length counts: only its first bytes are kept.
  const std::uint64_t length = l.length - (l.kept.size() - value.size());
  if (value.empty() || length > aeff::softwareMaxLength)
    findings_.report(rule("P4"), l.number, 0, "#SOFTWARE is empty or longer than 255 characters");
}

void HeaderRules::delimiter(const ScannedLine& l, std::string_view raw, std::string_view value) {
  // Subtle: the CR of a CR LF line end is not part of the line, yet a reader
  // that ends lines at LF alone takes it for the value of "#DELIM=".
  std::optional<unsigned char> odd;
  if (raw.empty() && l.end == LineEnd::crlf) {
    odd = '\r';
  } else if (raw.size() == 1 && raw[0] != ' ' && !isVisible(raw[0])) {
    odd = static_cast<unsigned char>(raw[0]);
  } else if (value.size() == 1 && !isVisible(value[0])) {
    odd = static_cast<unsigned char>(value[0]);
  }
  if (odd) {
    // The rows are split at the byte as given, which is what a reader does.
    findings_.report(rule("P5"), l.number, 0,
                     "#DELIM " + aeff::spokenByteName(*odd) +
                         " is not a delimiter (one character, tab or comma)" +
                         (*odd == '\t' ? "; write #DELIM=tab" : ""));
    scanner_.setDelimiter(static_cast<char>(*odd));
    return;
  }
  char chosen = ',';
  if (raw.size() == 1 && raw[0] != '|' && raw[0] != '#' && isVisible(raw[0])) {
    chosen = raw[0];
    const char c = chosen;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
        c == '-' || c == '+' || c == '<' || c == ':')
      findings_.report(rule("P5c"), l.number, 0,
                       "#DELIM " + quoted(raw) + " can stand inside a number or a name");
  } else if (sameWord(value, "tab")) {
    chosen = '\t';
  } else if (sameWord(value, "comma")) {
    chosen = ',';
  } else if (sameWord(value, "space")) {
    chosen = ' ';
    findings_.report(rule("P5b"), l.number, 0,
                     "#DELIM=space is read differently by the AAVSO's readers");
  } else if (isInteger(value) && value.size() <= 3 && readPlainDecimal(value) > 32 &&
             readPlainDecimal(value) < 127) {
    chosen = static_cast<char>(static_cast<int>(*readPlainDecimal(value)));
    findings_.report(rule("P5b"), l.number, 0,
                     "#DELIM given as the number " + quoted(value) +
                         " is read differently by the AAVSO's readers");
  } else if (value.size() == 1 && value[0] != '|' && value[0] != '#') {
    chosen = value[0];
    findings_.report(rule("P5b"), l.number, 0, "#DELIM " + quoted(raw) + " has blanks around it");
  } else {
    findings_.report(rule("P5"), l.number, 0,
                     "#DELIM " + quoted(raw) + " is not a delimiter (one character, tab or comma)");
    if (value.size() == 1) chosen = value[0];
  }
  scanner_.setDelimiter(chosen);
}

void HeaderRules::dateKind(const ScannedLine& l, std::string_view, std::string_view value) {
  if (sameWord(value, "JD")) {
    date_ = DateKind::jd;
    sawJd_ = true;
  } else if (sameWord(value, "HJD")) {
    date_ = DateKind::hjd;
    sawHjd_ = true;
  } else if (sameWord(value, "EXCEL")) {
    date_ = DateKind::excel;
    findings_.report(rule("P6b"), l.number, 0,
                     "#DATE=EXCEL is longer than DATE's limit and unread by the AAVSO's readers");
  } else {
    date_ = DateKind::other;
    findings_.report(rule("P6"), l.number, 0,
                     "#DATE is " + quoted(value) + ", not JD, HJD or EXCEL");
  }
  if (sawJd_ && sawHjd_)
    findings_.report(rule("P6c"), l.number, 0, "JD and HJD are mixed through a repeated #DATE");
}

void HeaderRules::obstype(const ScannedLine& l, std::string_view, std::string_view value) {
  if (!sameWord(value, "CCD") && !sameWord(value, "DSLR") && !sameWord(value, "PEP"))
    findings_.report(rule("P7", Severity::error), l.number, 0,
                     "#OBSTYPE is " + quoted(value) + ", not CCD, DSLR or PEP");
}

}  // namespace varistellar::check
