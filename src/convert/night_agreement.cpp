// The nights' parameter files, compared.
#include "convert/night_agreement.h"

#include <string>
#include <string_view>

#include "aeff/format.h"
#include "diagnostics/quoted.h"
#include "night/parameter_lines.h"

namespace varistellar::convert {
namespace {

using night::ParameterLine;

// A text line as a message shows it: quoted, or "none" when it is empty.
std::string shown(std::string_view text) {
  return text.empty() ? std::string{"none"} : diagnostics::quoted(text);
}

std::string_view checkStarId(const night::NightParameters& parameters) {
  return parameters.checkStar ? std::string_view{parameters.checkStar->id} : std::string_view{};
}

}  // namespace

bool nightsAgree(const std::vector<NightFiles>& files,
                 const std::vector<night::NightParameters>& nights,
                 diagnostics::DiagnosticSink& findings) {
  bool agree = true;
  const night::NightParameters& reference = nights.front();
  for (std::size_t i = 1; i < nights.size(); ++i) {
    const night::NightParameters& other = nights[i];
    const auto compare = [&](ParameterLine line, std::string_view value, std::string_view wanted) {
      if (value == wanted) return;
      agree = false;
      const std::string meaning{night::parameterLine(line).meaning};
      const std::string there = diagnostics::shownName(files.front().parameterFile);
      // An empty line (no check star) is no value to compare by name.
      std::string text = meaning;
      if (value.empty()) {
        text.append(" is not given, but it is ").append(shown(wanted));
      } else if (wanted.empty()) {
        text.append(" ").append(shown(value)).append(" is given, but none is");
      } else {
        text.append(" ").append(shown(value)).append(" differs from ").append(shown(wanted));
      }
      text.append(" in ").append(there);
      findings.error(files[i].parameterFile, night::lineNumber(line), 0,
                     text + "; the nights of one report must agree on it");
    };
    compare(ParameterLine::observerCode, other.observerCode, reference.observerCode);
    compare(ParameterLine::star, other.variableStarId, reference.variableStarId);
    compare(ParameterLine::comparisonStar, other.comparisonStarId, reference.comparisonStarId);
    compare(ParameterLine::checkStar, checkStarId(other), checkStarId(reference));
    for (std::size_t j = 0; j < i; ++j) {
      if (!aeff::sameWord(other.filterName, nights[j].filterName)) continue;
      agree = false;
      findings.error(files[i].parameterFile, night::lineNumber(ParameterLine::filter), 0,
                     "the filter " + diagnostics::quoted(other.filterName) + " is the filter of " +
                         files[j].parameterFile +
                         " too; each FOLDER holds the night of one filter");
      break;
    }
  }
  return agree;
}

}  // namespace varistellar::convert
