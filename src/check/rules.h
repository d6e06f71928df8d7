// The checker's rules: each with the ID a user looks up, its severity, and
// how often a file reports it. A rule whose severity depends on the case
// (R3b, P7, R19) has one entry per severity under the same ID.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "diagnostics/diagnostic.h"

namespace varistellar::check {

enum class Rule : std::uint8_t {
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  P1,
  P2,
  P2b,
  P3,
  P4,
  P5,
  P5b,
  P5c,
  P6,
  P6b,
  P6c,
  P7,
  P7absent,
  P8,
  P9,
  P10,
  R1,
  R2,
  R3,
  R3bPadded,
  R4,
  R5,
  R5b,
  R6,
  R6b,
  R6c,
  R7,
  R7b,
  R8,
  R8b,
  R8c,
  R9,
  R9b,
  R10,
  R10b,
  R11,
  R11b,
  R11c,
  R12,
  R12b,
  R13,
  R13b,
  R14,
  R14b,
  R15,
  R15b,
  R15c,
  R16,
  R16b,
  R17,
  R17b,
  R18,
  R18b,
  R19,
  R19long,
  R20,
  R21,
};

// How often one file reports a rule.
enum class Repeat : std::uint8_t {
  once,  // the first line it holds on, with the number of lines it held on (per field)
  each,  // every time, up to `eachLimit` times, then counted on the last one
};
inline constexpr std::size_t eachLimit = 100;

struct RuleFacts {
  Rule rule;
  std::string_view id;
  diagnostics::Severity severity;
  Repeat repeat;
};

using diagnostics::Severity;

inline constexpr std::array rules{
    RuleFacts{Rule::F1, "F1", Severity::error, Repeat::each},
    RuleFacts{Rule::F2, "F2", Severity::error, Repeat::once},
    RuleFacts{Rule::F3, "F3", Severity::error, Repeat::once},
    RuleFacts{Rule::F4, "F4", Severity::warning, Repeat::once},
    RuleFacts{Rule::F5, "F5", Severity::error, Repeat::once},
    RuleFacts{Rule::F6, "F6", Severity::note, Repeat::once},
    RuleFacts{Rule::F7, "F7", Severity::error, Repeat::once},
    RuleFacts{Rule::F8, "F8", Severity::error, Repeat::once},
    RuleFacts{Rule::F9, "F9", Severity::warning, Repeat::once},
    RuleFacts{Rule::F10, "F10", Severity::note, Repeat::once},
    RuleFacts{Rule::F11, "F11", Severity::warning, Repeat::once},
    RuleFacts{Rule::P1, "P1", Severity::error, Repeat::each},
    RuleFacts{Rule::P2, "P2", Severity::error, Repeat::each},
    RuleFacts{Rule::P2b, "P2b", Severity::warning, Repeat::each},
    RuleFacts{Rule::P3, "P3", Severity::note, Repeat::each},
    RuleFacts{Rule::P4, "P4", Severity::error, Repeat::each},
    RuleFacts{Rule::P5, "P5", Severity::error, Repeat::each},
    RuleFacts{Rule::P5b, "P5b", Severity::warning, Repeat::each},
    RuleFacts{Rule::P5c, "P5c", Severity::warning, Repeat::each},
    RuleFacts{Rule::P6, "P6", Severity::error, Repeat::each},
    RuleFacts{Rule::P6b, "P6b", Severity::warning, Repeat::each},
    RuleFacts{Rule::P6c, "P6c", Severity::warning, Repeat::once},
    RuleFacts{Rule::P7, "P7", Severity::error, Repeat::each},
    RuleFacts{Rule::P7absent, "P7", Severity::note, Repeat::once},
    RuleFacts{Rule::P8, "P8", Severity::warning, Repeat::each},
    RuleFacts{Rule::P9, "P9", Severity::error, Repeat::once},
    RuleFacts{Rule::P10, "P10", Severity::warning, Repeat::each},
    RuleFacts{Rule::R1, "R1", Severity::error, Repeat::once},
    RuleFacts{Rule::R2, "R2", Severity::error, Repeat::once},
    RuleFacts{Rule::R3, "R3", Severity::warning, Repeat::once},
    RuleFacts{Rule::R3bPadded, "R3b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R4, "R4", Severity::error, Repeat::once},
    RuleFacts{Rule::R5, "R5", Severity::error, Repeat::once},
    RuleFacts{Rule::R5b, "R5b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R6, "R6", Severity::error, Repeat::once},
    RuleFacts{Rule::R6b, "R6b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R6c, "R6c", Severity::note, Repeat::once},
    RuleFacts{Rule::R7, "R7", Severity::error, Repeat::once},
    RuleFacts{Rule::R7b, "R7b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R8, "R8", Severity::error, Repeat::once},
    RuleFacts{Rule::R8b, "R8b", Severity::error, Repeat::once},
    RuleFacts{Rule::R8c, "R8c", Severity::warning, Repeat::once},
    RuleFacts{Rule::R9, "R9", Severity::error, Repeat::once},
    RuleFacts{Rule::R9b, "R9b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R10, "R10", Severity::error, Repeat::once},
    RuleFacts{Rule::R10b, "R10b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R11, "R11", Severity::error, Repeat::once},
    RuleFacts{Rule::R11b, "R11b", Severity::error, Repeat::once},
    RuleFacts{Rule::R11c, "R11c", Severity::note, Repeat::once},
    RuleFacts{Rule::R12, "R12", Severity::error, Repeat::once},
    RuleFacts{Rule::R12b, "R12b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R13, "R13", Severity::error, Repeat::once},
    RuleFacts{Rule::R13b, "R13b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R14, "R14", Severity::error, Repeat::once},
    RuleFacts{Rule::R14b, "R14b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R15, "R15", Severity::error, Repeat::once},
    RuleFacts{Rule::R15b, "R15b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R15c, "R15c", Severity::warning, Repeat::once},
    RuleFacts{Rule::R16, "R16", Severity::error, Repeat::once},
    RuleFacts{Rule::R16b, "R16b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R17, "R17", Severity::error, Repeat::once},
    RuleFacts{Rule::R17b, "R17b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R18, "R18", Severity::error, Repeat::once},
    RuleFacts{Rule::R18b, "R18b", Severity::warning, Repeat::once},
    RuleFacts{Rule::R19, "R19", Severity::note, Repeat::once},
    RuleFacts{Rule::R19long, "R19", Severity::warning, Repeat::once},
    RuleFacts{Rule::R20, "R20", Severity::warning, Repeat::once},
    RuleFacts{Rule::R21, "R21", Severity::note, Repeat::once},
};
inline constexpr std::size_t ruleCount = rules.size();

[[nodiscard]] constexpr const RuleFacts& ruleFacts(Rule rule) {
  return rules[static_cast<std::size_t>(rule)];
}

static_assert(
    [] {
      for (std::size_t i = 0; i < ruleCount; ++i) {
        if (static_cast<std::size_t>(rules[i].rule) != i) return false;
      }
      return true;
    }(),
    "each rule stands at its own index");

}  // namespace varistellar::check
