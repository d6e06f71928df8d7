// Planning the transformation of a night.
#include "transform/night_transforms.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "diagnostics/quoted.h"
#include "night/parameter_lines.h"
#include "report/number_text.h"

namespace varistellar::transform {
namespace {

constexpr std::uint64_t filterLine = night::lineNumber(night::ParameterLine::filter);

// A coefficient's value or error as the records and comment lines give it.
// Never asterisks: a coefficient of any size is written whole into the report.
std::string coefficientDecimal(double value) { return report::shownNumber(value, 4); }

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "B", "B and V", "B, V and I".
std::string filterList(const std::vector<char>& filters) {
  std::string text;
  for (std::size_t i = 0; i < filters.size(); ++i) {
    if (i != 0) text += i + 1 == filters.size() ? " and " : ", ";
    text += filters[i];
  }
  return text;
}

class Planner {
 public:
  Planner(const TransformSetting& setting, diagnostics::DiagnosticSink& findings)
      : setting_{setting}, findings_{findings} {}

  // Fills in the transformations of `roles`, one per night; false when a
  // coefficient they need is missing or unusable.
  bool takeCoefficients(std::vector<FilterTransform>& transforms) {
    // Each coefficient once, with the filters that need it.
    std::vector<std::pair<std::string, std::vector<char>>> needed;
    for (const FilterTransform& transform : transforms) {
      for (const std::string& name : coefficientsTakenBy(transform.role)) {
        auto found = std::find_if(needed.begin(), needed.end(),
                                  [&](const auto& entry) { return entry.first == name; });
        if (found == needed.end()) {
          needed.push_back({name, {}});
          found = needed.end() - 1;
        }
        found->second.push_back(transform.role.filter);
      }
    }
    bool good = true;
    for (auto& [name, filters] : needed) {
      std::sort(filters.begin(), filters.end(),
                [](char a, char b) { return filterRank(a) < filterRank(b); });
      const Coefficient* coefficient = setting_.coefficients.coefficient(name);
      if (coefficient == nullptr) {
        findings_.error(setting_.coefficientPath, 0, 0,
                        "[Coefficients] holds no " + name + ", which " +
                            (filters.size() == 1 ? "the filter " : "the filters ") +
                            filterList(filters) + (filters.size() == 1 ? " needs" : " need") +
                            "; it is never taken as 0");
        good = false;
        continue;
      }
      if (std::fabs(coefficient->value) > 1.0) {
        findings_.warning(setting_.coefficientPath, coefficient->line, 0,
                          coefficient->name + " is " + report::shownNumber(coefficient->value, 4) +
                              ", above 1 in size, which is implausible for a transformation "
                              "coefficient");
      }
      const Coefficient* error = setting_.coefficients.error(name);
      if (error == nullptr) {
        findings_.warning(
            setting_.coefficientPath, 0, 0,
            "[Error] holds no " + coefficient->name + ": its error counts as 0 in MERR");
      }
      const CoefficientValue value{coefficient->value, error == nullptr ? 0.0 : error->value};
      for (FilterTransform& transform : transforms) {
        const auto taken = coefficientsTakenBy(transform.role);
        if (std::find(taken.begin(), taken.end(), name) == taken.end()) continue;
        transform.coefficients[filterRank(static_cast<char>(name[1] - 'a' + 'A'))] = value;
        if (name == coefficientOf(transform.role)) {
          const std::string errorText = coefficientDecimal(value.error);
          transform.notesBeforeColour = "|" + coefficient->name + "=" +
                                        coefficientDecimal(value.value) + "|" + coefficient->name +
                                        "ERR=" + errorText + "|" +
                                        std::string{colourSubfield(transform.role.index)} + "=";
          transform.coefficientText =
              coefficient->name + "=" + coefficientDecimal(value.value) + " +/- " + errorText;
        }
      }
    }
    return good && divisorsUsable(transforms);
  }

 private:
  // The divisors of the equations, fixed by the coefficients: near 0 they
  // make any result meaningless.
  bool divisorsUsable(const std::vector<FilterTransform>& transforms) {
    bool good = true;
    bool pairJudged = false;
    bool thirdJudged = false;
    for (const FilterTransform& transform : transforms) {
      const FilterRole& role = transform.role;
      if (role.equation == Equation::alone) continue;
      const char x = role.equation == Equation::pairBluer || role.equation == Equation::pairRedder
                         ? bluerOf(role.index)
                         : 'B';
      const char y = x == 'B' ? 'V' : redderOf(role.index);
      if (!pairJudged) {
        pairJudged = true;
        const double k = pairDivisor(transform.coefficients[filterRank(x)].value,
                                     transform.coefficients[filterRank(y)].value);
        if (std::fabs(k) < 0.5) {
          const std::string tx = coefficientName(x, x == 'B' ? ColourIndex::BV : role.index);
          const std::string ty = coefficientName(y, x == 'B' ? ColourIndex::BV : role.index);
          std::string text = "1 - " + tx;
          text.append(" + ").append(ty).append(" is ");
          text.append(report::shownNumberBeside(k, 4, std::copysign(0.5, k)));
          text.append(", below 0.5 in size: the transformation would be meaningless; check ");
          text.append(tx).append(" and ").append(ty);
          findings_.error(setting_.coefficientPath, 0, 0, std::move(text));
          good = false;
        }
      }
      if ((role.equation == Equation::iFromBV || role.equation == Equation::rFromBVI) &&
          !thirdJudged) {
        thirdJudged = true;
        const double divisor = 1.0 + transform.coefficients[filterRank('I')].value;
        if (std::fabs(divisor) < 0.5) {
          findings_.error(setting_.coefficientPath, 0, 0,
                          "1 + Ti_vi is " +
                              report::shownNumberBeside(divisor, 4, std::copysign(0.5, divisor)) +
                              ", below 0.5 in size: the transformation would be meaningless; "
                              "check Ti_vi");
          good = false;
        }
      }
    }
    return good;
  }

  const TransformSetting& setting_;
  diagnostics::DiagnosticSink& findings_;
};

std::optional<char> transformableFilter(const PlannedNight& night,
                                        diagnostics::DiagnosticSink& findings) {
  const auto filter = standardFilter(night.parameters.filterName);
  if (!filter) {
    findings.error(night.parameterFile, filterLine, 0,
                   "the filter " + diagnostics::quoted(night.parameters.filterName) +
                       " cannot be transformed: only B, V, R and I can (and a colour camera's "
                       "TB, TG and TR, as B, V and R)");
  }
  return filter;
}

FilterTransform startedTransform(const FilterRole& role) {
  FilterTransform transform{.role = role, .reportedFilter = std::string{role.filter}};
  return transform;
}

void setAloneColour(FilterTransform& transform, const ColourOption& colour) {
  transform.targetColour = colour.target;
  transform.colourDifference = colour.target - colour.comparison;
  if (colour.check) transform.checkColourDifference = *colour.check - colour.comparison;
}

}  // namespace

std::optional<std::vector<FilterTransform>> planTransforms(const TransformSetting& setting,
                                                           const std::vector<PlannedNight>& nights,
                                                           diagnostics::DiagnosticSink& findings) {
  std::vector<char> filters;
  bool good = true;
  for (std::size_t i = 0; i < nights.size(); ++i) {
    const auto filter = transformableFilter(nights[i], findings);
    if (!filter) {
      good = false;
      continue;
    }
    for (std::size_t j = 0; j < filters.size(); ++j) {
      if (filters[j] != *filter) continue;
      findings.error(nights[i].parameterFile, filterLine, 0,
                     "the filter " + diagnostics::quoted(nights[i].parameters.filterName) +
                         " is transformed as " + std::string{*filter} +
                         ", the filter of another FOLDER; each FOLDER holds the night of one "
                         "filter");
      good = false;
    }
    filters.push_back(*filter);
  }
  if (!good) return std::nullopt;

  std::vector<FilterTransform> transforms;
  if (nights.size() == 1) {
    if (!setting.colour) {
      findings.error(nights.front().parameterFile, filterLine, 0,
                     "the filter " + diagnostics::quoted(nights.front().parameters.filterName) +
                         " has no partner filter in this night: give the star's colour with "
                         "--colour INDEX=T,C[,K] (B-V, V-R or V-I) to transform it");
      return std::nullopt;
    }
    transforms.push_back(startedTransform(aloneRole(filters.front(), setting.colour->index)));
    setAloneColour(transforms.back(), *setting.colour);
  } else {
    const SetRoles roles = rolesOfSet(filters);
    if (const auto* refusal = std::get_if<std::string>(&roles)) {
      findings.error(
          nights.front().parameterFile, filterLine, 0,
          "the filters " + filterList(filters) + " cannot be transformed together: " + *refusal);
      return std::nullopt;
    }
    const auto& roleList = std::get<std::vector<FilterRole>>(roles);
    for (std::size_t i = 0; i < nights.size(); ++i) {
      FilterTransform transform = startedTransform(roleList[i]);
      const ColourIndex index = transform.role.index;
      const auto nightOf = [&](char filter) {
        return static_cast<std::size_t>(std::find(filters.begin(), filters.end(), filter) -
                                        filters.begin());
      };
      transform.comparisonColour = nights[nightOf(bluerOf(index))].parameters.comparisonMagnitude -
                                   nights[nightOf(redderOf(index))].parameters.comparisonMagnitude;
      for (const char partner : transform.role.partners) {
        transform.partnerNights.push_back(nightOf(partner));
      }
      transforms.push_back(std::move(transform));
    }
  }
  Planner planner{setting, findings};
  if (!planner.takeCoefficients(transforms)) return std::nullopt;
  return transforms;
}

std::optional<FilterTransform> planAlone(const TransformSetting& setting, const PlannedNight& night,
                                         diagnostics::DiagnosticSink& findings) {
  const auto filter = standardFilter(night.parameters.filterName);
  if (!filter || !setting.colour) return std::nullopt;
  auto planned = planRoles(setting, {aloneRole(*filter, setting.colour->index)}, findings);
  if (!planned) return std::nullopt;
  FilterTransform alone = std::move(planned->front());
  return alone;
}

std::optional<std::vector<FilterTransform>> planRoles(const TransformSetting& setting,
                                                      const std::vector<FilterRole>& roles,
                                                      diagnostics::DiagnosticSink& findings) {
  std::vector<FilterTransform> transforms;
  for (const FilterRole& role : roles) {
    transforms.push_back(startedTransform(role));
    if (role.equation == Equation::alone && setting.colour) {
      setAloneColour(transforms.back(), *setting.colour);
    }
  }
  Planner planner{setting, findings};
  if (!planner.takeCoefficients(transforms)) return std::nullopt;
  return transforms;
}

std::vector<std::string> transformCommentLines(const std::vector<FilterTransform>& transforms,
                                               const std::string& coefficientPath) {
  std::vector<const FilterTransform*> ordered;
  ordered.reserve(transforms.size());
  // cppcheck-suppress useStlAlgorithm ; a loop reads plainer than a transform
  for (const FilterTransform& transform : transforms) ordered.push_back(&transform);
  std::stable_sort(ordered.begin(), ordered.end(), [](const auto* a, const auto* b) {
    return filterRank(a->role.filter) < filterRank(b->role.filter);
  });
  // Sets of one report may share a coefficient (Tb_bv for B with V and for
  // B alone): it is listed once.
  std::vector<const FilterTransform*> distinct;
  for (const FilterTransform* t : ordered) {
    if (std::none_of(distinct.begin(), distinct.end(), [t](const FilterTransform* u) {
          return u->coefficientText == t->coefficientText;
        })) {
      distinct.push_back(t);
    }
  }
  // The name is the user's: any byte a report may not hold is written \xNN.
  const std::string name = diagnostics::escaped(fileNameOf(coefficientPath));
  std::vector<std::string> lines(distinct.size());
  std::transform(distinct.begin(), distinct.end(), lines.begin(), [&](const FilterTransform* t) {
    return "#TRANSFORM " + t->coefficientText + " (" + name + ")";
  });
  return lines;
}

Transformed solve(const FilterTransform& transform, const ValuesAtTime& values) {
  const auto& t = transform.coefficients;
  const FilterRole& role = transform.role;
  switch (role.equation) {
    case Equation::alone:
      return transformAlone(values[filterRank(role.filter)], t[filterRank(role.filter)],
                            transform.colourDifference);
    case Equation::pairBluer:
    case Equation::pairRedder: {
      const std::size_t x = filterRank(bluerOf(role.index));
      const std::size_t y = filterRank(redderOf(role.index));
      const PairResult pair = transformPair(values[x], values[y], t[x], t[y]);
      return role.equation == Equation::pairBluer ? pair.bluer : pair.redder;
    }
    case Equation::iFromBV: return transformI(values[0], values[1], values[3], t[0], t[1], t[3]);
    case Equation::rFromBVI: break;
  }
  return transformR(values[0], values[1], values[3], values[2], t[0], t[1], t[3], t[2]);
}

double solveCheck(const FilterTransform& transform, const ValuesAtTime& values) {
  if (transform.role.equation != Equation::alone) return solve(transform, values).offset;
  const std::size_t own = filterRank(transform.role.filter);
  return transformAlone(values[own], transform.coefficients[own],
                        transform.checkColourDifference.value_or(0.0))
      .offset;
}

double statedColour(const FilterTransform& transform, const Transformed& result) {
  if (transform.role.equation == Equation::alone) return transform.targetColour;
  return result.colourDifference + transform.comparisonColour;
}

}  // namespace varistellar::transform
