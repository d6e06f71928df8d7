// The rules of a report's parameter lines, as a table keyed by the
// parameter: whether it is required and what its absence says, what giving it
// again means, and the judge of its value. The delimiter's judge also tells
// the line scanner how to split the rows that follow.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "check/findings.h"
#include "check/line_scanner.h"
#include "check/row.h"
#include "check/rules.h"

namespace varistellar::check {

class HeaderRules {
 public:
  HeaderRules(FileFindings& findings, LineScanner& scanner)
      : findings_{findings}, scanner_{scanner} {}

  // A line that starts with '#': a parameter, or a comment (the column-title
  // line among them). `observations` are the rows before it.
  void line(const ScannedLine& line, std::uint64_t observations);
  // Whether every required parameter has been given.
  [[nodiscard]] bool complete() const;
  [[nodiscard]] DateKind date() const { return date_; }
  // Ends the file: the parameters never given.
  void finish();

  // What giving a parameter again means.
  enum class Again : std::uint8_t {
    changes,            // a new value for the rows below (P3)
    givenAgain,         // a repeat (P8), unless before the rows with the same word
    givenAgainExactly,  // the same, but the value's case matters
  };
  using Judge = void (HeaderRules::*)(const ScannedLine& line, std::string_view raw,
                                      std::string_view value);
  struct Parameter {
    std::string_view key;
    bool required;
    Rule missing;  // reported when it is never given
    std::string_view missingText;
    Again again;
    Judge judge;  // of the value as written after '=' and without its edge blanks
  };

 private:
  void type(const ScannedLine& line, std::string_view raw, std::string_view value);
  void obscode(const ScannedLine& line, std::string_view raw, std::string_view value);
  void software(const ScannedLine& line, std::string_view raw, std::string_view value);
  void delimiter(const ScannedLine& line, std::string_view raw, std::string_view value);
  void dateKind(const ScannedLine& line, std::string_view raw, std::string_view value);
  void obstype(const ScannedLine& line, std::string_view raw, std::string_view value);

  static const std::array<Parameter, 6> parameters_;

  FileFindings& findings_;
  LineScanner& scanner_;
  std::array<bool, 6> given_{};
  std::array<std::string, 6> value_{};
  DateKind date_ = DateKind::hjd;
  bool sawJd_ = false, sawHjd_ = false;
};

}  // namespace varistellar::check
