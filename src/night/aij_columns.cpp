// Finding an AstroImageJ table's columns by their titles.
#include "night/aij_columns.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "diagnostics/quoted.h"
#include "night/aperture_lines.h"
#include "night/parameter_lines.h"

namespace varistellar::night {
namespace {

using Titles = std::unordered_map<std::string, std::size_t>;

constexpr std::string_view countsPrefix = "Source-Sky_";

// The apertures the parameter file and the table choose together.
struct ApertureChoice {
  std::string target{"T1"};
  std::optional<std::string> check{};
  std::vector<std::string> comparisons;
  std::vector<double> magnitudes;  // of `comparison` lines
};

class ColumnFinder {
 public:
  ColumnFinder(const NightRequest& request, const std::string& tableFile, std::uint64_t titleLine,
               char separator, diagnostics::DiagnosticSink& findings)
      : request_{request},
        tableFile_{tableFile},
        titleLine_{titleLine},
        separator_{separator},
        findings_{findings} {}

  std::optional<AijColumns> find(std::vector<std::string> titles) {
    for (std::size_t i = 0; i < titles.size(); ++i) index_.emplace(titles[i], i);
    AijColumns columns;
    columns.titles = std::move(titles);
    columns.separator = separator_;
    const std::optional<ApertureChoice> choice = chooseApertures();
    if (!choice) return std::nullopt;
    columns.recomputed = !choice->magnitudes.empty();
    columns.target = starColumns(choice->target, columns.recomputed);
    if (choice->check) columns.check = starColumns(*choice->check, columns.recomputed);
    for (const std::string& aperture : choice->comparisons) {
      columns.comparisons.push_back(starColumns(aperture, true));
      columns.comparisons.back().catalogue = column("Source_AMag_" + aperture);
    }
    columns.comparisonMagnitudes = choice->magnitudes;
    columns.targetMagnitude = column("Source_AMag_" + choice->target);
    columns.targetRelFlux = column("rel_flux_" + choice->target);
    if (!ensembleNamed(columns) || !reference(*choice, columns)) return std::nullopt;
    columns.hjd = firstColumn({"HJD_UTC", "HJD_MOBS"});
    columns.jd = firstColumn({"JD_UTC", "JD_MOBS", "J.D.-2400000"});
    if (columns.jd != noColumn && columns.title(columns.jd) == "J.D.-2400000") {
      columns.jdOffset = 2400000.0;
    }
    columns.airmass = column("AIRMASS");
    if (columns.hjd == noColumn && columns.jd == noColumn) {
      error(
          "the table has no column of dates: it needs HJD_UTC, HJD_MOBS, JD_UTC, JD_MOBS or "
          "J.D.-2400000");
      return std::nullopt;
    }
    if (errors_ != 0) return std::nullopt;
    columns.lastColumn = lastColumnOf(columns);
    return columns;
  }

 private:
  std::size_t column(const std::string& title) const {
    const auto found = index_.find(title);
    return found == index_.end() ? noColumn : found->second;
  }

  std::size_t firstColumn(std::initializer_list<const char*> titles) const {
    for (const char* title : titles) {
      if (const std::size_t found = column(title); found != noColumn) return found;
    }
    return noColumn;
  }

  // The columns of one aperture: its counts when the ensemble is
  // recomputed, its relative flux otherwise; a missing one is an error.
  AijStar starColumns(const std::string& aperture, bool fromCounts) {
    AijStar star{.aperture = aperture};
    if (fromCounts) {
      star.counts = needed(std::string{countsPrefix} + aperture);
      star.countsError = needed("Source_Error_" + aperture);
    } else {
      star.relFlux = needed("rel_flux_" + aperture);
      star.relFluxError = needed("rel_flux_err_" + aperture);
    }
    return star;
  }

  std::size_t needed(const std::string& title) {
    const std::size_t found = column(title);
    if (found == noColumn) error("the table has no column " + title);
    return found;
  }

  // The table's apertures, in the order of their columns.
  std::vector<std::string> tableApertures(char kind) const {
    std::vector<std::pair<std::size_t, std::string>> found;
    for (const auto& [title, index] : index_) {
      if (!title.starts_with(countsPrefix)) continue;
      const std::string aperture = title.substr(countsPrefix.size());
      if (isApertureName(aperture) && aperture.front() == kind) found.emplace_back(index, aperture);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> apertures;
    apertures.reserve(found.size());
    for (auto& [index, aperture] : found) apertures.push_back(std::move(aperture));
    return apertures;
  }

  bool hasAperture(const std::string& aperture) const {
    return column(std::string{countsPrefix} + aperture) != noColumn ||
           column("rel_flux_" + aperture) != noColumn;
  }

  std::optional<ApertureChoice> chooseApertures();
  bool takeApertureLine(const ApertureLine& line, ApertureChoice& choice,
                        std::vector<std::string>& named);
  bool ensembleNamed(const AijColumns& columns);
  bool reference(const ApertureChoice& choice, AijColumns& columns);
  static std::size_t lastColumnOf(const AijColumns& columns);

  void error(std::string text) {
    ++errors_;
    findings_.error(tableFile_, titleLine_, 0, std::move(text));
  }
  void lineError(std::uint64_t line, std::string text) {
    ++errors_;
    findings_.error(request_.parameterFile, line, 0, std::move(text));
  }

  const NightRequest& request_;
  const std::string& tableFile_;
  std::uint64_t titleLine_;
  char separator_;
  diagnostics::DiagnosticSink& findings_;
  Titles index_;
  std::size_t errors_ = 0;
};

bool ColumnFinder::takeApertureLine(const ApertureLine& line, ApertureChoice& choice,
                                    std::vector<std::string>& named) {
  const std::string& aperture = line.aperture;
  if (std::find(named.begin(), named.end(), aperture) != named.end()) {
    lineError(line.line, "the aperture " + aperture + " is named twice");
    return false;
  }
  named.push_back(aperture);
  if (!hasAperture(aperture)) {
    lineError(line.line,
              "the table has no aperture " + aperture + " (no column Source-Sky_" + aperture + ")");
    return false;
  }
  switch (line.role) {
    case ApertureLine::Role::target: choice.target = aperture; break;
    case ApertureLine::Role::check:
      if (!request_.parameters.checkStar) {
        lineError(line.line, "a check aperture needs the check star's name on line 11");
        return false;
      }
      choice.check = aperture;
      break;
    case ApertureLine::Role::comparison:
      choice.comparisons.push_back(aperture);
      choice.magnitudes.push_back(line.magnitude);
      break;
  }
  return true;
}

std::optional<ApertureChoice> ColumnFinder::chooseApertures() {
  ApertureChoice choice;
  std::vector<std::string> named;
  bool good = true;
  for (const ApertureLine& line : request_.parameters.apertures) {
    good = takeApertureLine(line, choice, named) && good;
  }
  if (choice.comparisons.empty()) choice.comparisons = tableApertures('C');
  if (request_.parameters.checkStar && !choice.check) choice.check = "T2";
  std::uint64_t at = 0;
  const auto lineOf = [&](const std::string& aperture) {
    const auto& lines = request_.parameters.apertures;
    const auto found = std::find_if(lines.begin(), lines.end(), [&](const ApertureLine& line) {
      return line.aperture == aperture;
    });
    return found == lines.end() ? at : found->line;
  };
  for (const std::string& comparison : choice.comparisons) {
    if (comparison == choice.target) {
      lineError(lineOf(comparison), "the target " + comparison + " cannot be a comparison star");
      good = false;
    }
  }
  if (choice.check && *choice.check == choice.target) {
    lineError(lineOf(*choice.check), "the target " + choice.target + " cannot be the check star");
    good = false;
  } else if (choice.check &&
             std::count(choice.comparisons.begin(), choice.comparisons.end(), *choice.check) != 0) {
    lineError(lineOf(*choice.check),
              "the check star " + *choice.check + " is one of the ensemble's comparison stars");
    good = false;
  } else if (choice.check && !hasAperture(*choice.check)) {
    error("the check star " + request_.parameters.checkStar->id + " on line 11 needs aperture " +
          *choice.check +
          ", which the table does not have; name its aperture with a line "
          "`check T2` after line 12");
    good = false;
  }
  if (choice.comparisons.empty()) {
    error("the table has no comparison star (no column Source-Sky_C2, Source-Sky_C3, ...)");
    good = false;
  }
  if (!good) return std::nullopt;
  return choice;
}

// Two or more comparison stars are an ensemble, which line 7 must say.
bool ColumnFinder::ensembleNamed(const AijColumns& columns) {
  if (!columns.ensemble() || request_.parameters.comparisonStarId == ensembleName) return true;
  std::string apertures;
  for (const AijStar& star : columns.comparisons) {
    apertures.append(apertures.empty() ? "" : ", ").append(star.aperture);
  }
  lineError(lineNumber(ParameterLine::comparisonStar),
            "the comparison stars are an ensemble (" + apertures + "): line 7 must be " +
                std::string{ensembleName} + ", not " +
                diagnostics::quoted(request_.parameters.comparisonStarId));
  return false;
}

// The ensemble's catalogue magnitude: the `comparison` lines', one
// comparison star's line 8, or the table's own (Source_AMag) row by row.
bool ColumnFinder::reference(const ApertureChoice& choice, AijColumns& columns) {
  const NightParameters& parameters = request_.parameters;
  if (!choice.magnitudes.empty()) {
    double sum = 0.0;
    for (const double magnitude : choice.magnitudes) sum += std::pow(10.0, -0.4 * magnitude);
    columns.fixedReference = -2.5 * std::log10(sum);
    columns.comparedReference = columns.fixedReference;
    return true;
  }
  if (parameters.comparisonMagnitudeGiven) {
    if (!columns.ensemble()) {
      columns.fixedReference = parameters.comparisonMagnitude;
    }
    columns.comparedReference = parameters.comparisonMagnitude;
  }
  if (columns.fixedReference) return true;
  if (columns.targetMagnitude != noColumn && columns.targetRelFlux != noColumn) return true;
  error("the table gives no catalogue magnitude for the comparison stars (no column Source_AMag_" +
        choice.target +
        "): enter their magnitudes in AstroImageJ, or give `comparison C2 "
        "12.345` lines after line 12 of the parameter file");
  return false;
}

std::size_t ColumnFinder::lastColumnOf(const AijColumns& columns) {
  std::size_t last = 0;
  const auto see = [&last](std::size_t column) {
    if (column != noColumn) last = std::max(last, column);
  };
  const auto seeStar = [&see](const AijStar& star) {
    see(star.relFlux);
    see(star.relFluxError);
    see(star.counts);
    see(star.countsError);
  };
  seeStar(columns.target);
  if (columns.check) seeStar(*columns.check);
  // An ensemble's counts are read on every row: each star is measured
  // against the others.
  if (columns.recomputed || columns.ensemble()) {
    for (const AijStar& star : columns.comparisons) seeStar(star);
  }
  see(columns.targetMagnitude);
  see(columns.hjd);
  see(columns.jd);
  see(columns.airmass);
  see(columns.targetRelFlux);
  return last;
}

std::string_view unquoted(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

}  // namespace

std::vector<std::string> columnTitles(std::string_view line) {
  const char separator = line.find('\t') != std::string_view::npos ? '\t' : ',';
  std::vector<std::string> titles;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    titles.emplace_back(unquoted(line.substr(start, end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return titles;
}

bool areAijTitles(const std::vector<std::string>& titles) {
  return std::any_of(titles.begin(), titles.end(), [](const std::string& title) {
    return title == "rel_flux_T1" || title == "Source-Sky_T1";
  });
}

std::optional<AijColumns> aijColumns(std::vector<std::string> titles, char separator,
                                     std::uint64_t titleLine, const NightRequest& request,
                                     const std::string& tableFile,
                                     diagnostics::DiagnosticSink& findings) {
  ColumnFinder finder{request, tableFile, titleLine, separator, findings};
  return finder.find(std::move(titles));
}

}  // namespace varistellar::night
