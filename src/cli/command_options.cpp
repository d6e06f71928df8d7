// The commands' option tables.
#include "cli/command_options.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "aeff/plain_decimal.h"
#include "check_star/scatter_window.h"
#include "cli/option_table.h"
#include "transform/colour_option.h"

namespace varistellar::cli {
namespace {

using convert::ConvertOptions;
using report_transform::TransformOptions;
using Failure = std::optional<std::string>;
using Value = std::optional<std::string>;

Command usageError(std::string text) {
  return {.kind = CommandKind::usageError, .usageError = std::move(text)};
}

// An option naming a file: the file, or why there is none.
template <typename Target, std::optional<std::string> Target::*file, const std::string_view& name>
Failure takeFile(Target& target, const Value& value) {
  if (!value || value->empty()) return "option " + shownArgument(name) + " needs a FILE";
  target.*file = *value;
  return std::nullopt;
}

constexpr std::string_view tableName = "--table";
constexpr std::string_view parametersName = "--parameters";
constexpr std::string_view reportName = "--report";
constexpr std::string_view plotName = "--plot";
constexpr std::string_view transformName = "--transform";
constexpr std::string_view outputName = "--output";

Failure takeDate(ConvertOptions& options, const Value& kind) {
  if (!kind) return "option '--date' needs HJD or JD";
  if (*kind == "HJD" || *kind == "hjd") {
    options.date = run::DateKind::hjd;
  } else if (*kind == "JD" || *kind == "jd") {
    options.date = run::DateKind::jd;
  } else {
    return "option '--date' takes HJD or JD, not " + shownArgument(*kind);
  }
  options.dateGiven = true;
  return std::nullopt;
}

// --colour and --pair-within, which `convert` and `transform` share.
template <typename Target>
Failure takeColour(Target& options, const Value& value) {
  if (!value) return "option '--colour' needs INDEX=T,C[,K]";
  options.colour = transform::parseColourOption(*value);
  if (options.colour) return std::nullopt;
  return "option '--colour' takes INDEX=T,C[,K]: INDEX B-V, V-R or V-I, then the standard "
         "colours of the target, the comparison and (if you like) the check star as plain "
         "decimal numbers, not " +
         shownArgument(*value);
}

template <typename Target>
Failure takePairWithin(Target& options, const Value& value) {
  if (!value) return "option '--pair-within' needs MINUTES";
  const auto minutes = aeff::readPlainDecimal(*value);
  if (!minutes || *minutes < 0.0) {
    return "option '--pair-within' takes a number of minutes, 0 or more, not " +
           shownArgument(*value);
  }
  options.pairWithinMinutes = *minutes;
  options.pairWithinText = *value;
  return std::nullopt;
}

template <typename Target>
Failure setQuiet(Target& options, const Value&) {
  options.quiet = true;
  return std::nullopt;
}

// --merr table|check-scatter[:W].
Failure takeErrorMethod(ConvertOptions& options, const Value& value) {
  if (!value) return "option '--merr' needs table or check-scatter[:W]";
  constexpr std::string_view scatter = "check-scatter";
  const std::string_view method{*value};
  if (method == "table") {
    options.scatterWidth.reset();
    return std::nullopt;
  }
  if (method == scatter) {
    options.scatterWidth = check_star::defaultScatterWidth;
    return std::nullopt;
  }
  if (!method.starts_with(scatter) || method.size() == scatter.size() ||
      method[scatter.size()] != ':') {
    return "option '--merr' takes table or check-scatter[:W], not " + shownArgument(method);
  }
  const std::string_view width = method.substr(scatter.size() + 1);
  const bool digits =
      !width.empty() && width.size() <= 9 &&
      std::all_of(width.begin(), width.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!digits) {
    return "option '--merr check-scatter:W' takes a whole number of observations W, not " +
           shownArgument(width);
  }
  const std::size_t count = std::stoul(std::string{width});
  if (count < check_star::leastScatterCount) {
    return "option '--merr check-scatter:W' takes a window W of at least " +
           std::to_string(check_star::leastScatterCount) + " observations, not " +
           shownArgument(width);
  }
  if (count % 2 == 0) {
    return "option '--merr check-scatter:W' takes an odd window W (the observation and as many "
           "on either side), not " +
           shownArgument(width);
  }
  options.scatterWidth = count;
  return std::nullopt;
}

Failure setCheckStar(ConvertOptions& options, const Value&) {
  options.checkStar = true;
  return std::nullopt;
}

constexpr std::string_view quietHelp = "print only warnings and errors";

constexpr std::array<Option<ConvertOptions>, 11> convertOptions{{
    {tableName, "FILE",
     "the light-curve table (default FOLDER/lightcurve.txt,\nelse FOLDER/light_curve.dat, else the "
     "one AstroImageJ\ntable in FOLDER)",
     takeFile<ConvertOptions, &ConvertOptions::table, tableName>},
    {parametersName, "FILE", "the parameter file (default FOLDER/VARISTELLAR-input.txt)",
     takeFile<ConvertOptions, &ConvertOptions::parameters, parametersName>},
    {reportName, "FILE", "the report to write (default FOLDER/lightcurve-aavso.txt)",
     takeFile<ConvertOptions, &ConvertOptions::report, reportName>},
    {"--date", "HJD|JD", "the report's date: HJD as in the table (default), or\nJD = HJD - HELCOR",
     takeDate},
    {"--check-star", "",
     "write the check star's CMAG, KMAG and NOTES subfields,\nand print its statistics",
     setCheckStar},
    {"--merr", "METHOD",
     "MERR: table, the table's error (default), or\ncheck-scatter[:W], with the check star's "
     "scatter over\nthe W observations nearest in time added (W odd,\n5 or more, default 21)",
     takeErrorMethod},
    {plotName, "FILE", "also draw the light curve as an SVG picture in FILE",
     takeFile<ConvertOptions, &ConvertOptions::plot, plotName>},
    {"--quiet", "", quietHelp, setQuiet<ConvertOptions>},
    {transformName, "FILE",
     "transform the magnitudes to the standard system with\nthe coefficients in FILE (the INI "
     "file of the AAVSO's\nTransform Generator); with several FOLDERs the filters\nare paired in "
     "time",
     takeFile<ConvertOptions, &ConvertOptions::transform, transformName>},
    {"--colour", "INDEX=T,C[,K]",
     "the standard colour index (B-V, V-R or V-I) of the\ntarget T, the comparison C and the "
     "check star K, for\na filter that has no partner filter in the night",
     takeColour<ConvertOptions>},
    {"--pair-within", "MINUTES",
     "how far apart in time two filters' observations may\nbe to be paired (default 10)",
     takePairWithin<ConvertOptions>},
}};

// `transform` writes into TransformOptions' plain strings.
Failure takeCoefficientFile(TransformOptions& options, const Value& value) {
  if (!value || value->empty()) return "option '--transform' needs a FILE";
  options.coefficientFile = *value;
  return std::nullopt;
}

constexpr std::array<Option<TransformOptions>, 5> transformOptions{{
    {transformName, "FILE", "the coefficient file (required)", takeCoefficientFile},
    {"--colour", "INDEX=T,C[,K]", "as for convert", takeColour<TransformOptions>,
     "--colour INDEX=T,C[,K], --pair-within MINUTES"},
    {"--pair-within", "MINUTES", "", takePairWithin<TransformOptions>},
    {outputName, "OUT",
     "the report to write (default: REPORT's name with\n-transformed before its extension, beside "
     "it)",
     takeFile<TransformOptions, &TransformOptions::output, outputName>},
    {"--quiet", "", quietHelp, setQuiet<TransformOptions>},
}};

// `convert`'s options that only make sense together, and several FOLDERs'.
Failure convertMisfit(const ParsedArguments<ConvertOptions>& parsed) {
  const ConvertOptions& options = parsed.target;
  if (!options.transform) {
    if (options.colour) return "option '--colour' needs --transform FILE";
    if (parsed.given.contains("--pair-within"))
      return "option '--pair-within' needs --transform FILE";
  }
  // Several FOLDERs, one filter's night each, make one report: it needs a
  // name of its own, and each night its own standard files.
  if (parsed.operands.size() <= 1) return std::nullopt;
  if (!options.report) return "several FOLDERs make one report: name it with --report FILE";
  for (const std::string_view option : {tableName, parametersName}) {
    if (parsed.given.contains(option)) {
      return "option " + shownArgument(option) +
             " names one night's file; with several FOLDERs each holds its own";
    }
  }
  return std::nullopt;
}

}  // namespace

Command parseConvert(std::span<const std::string> arguments) {
  ParsedArguments<ConvertOptions> parsed;
  auto failure = parseOptions<ConvertOptions>(arguments, convertOptions, "convert", parsed);
  if (parsed.help) return {.kind = CommandKind::help};
  parsed.target.folders = parsed.operands;
  if (!failure) failure = convertMisfit(parsed);
  if (failure) return usageError(*std::move(failure));
  return {.kind = CommandKind::convert, .convert = std::move(parsed.target)};
}

Command parseCheck(std::span<const std::string> arguments) {
  struct NoOptions {};
  ParsedArguments<NoOptions> parsed;
  const auto failure = parseOptions<NoOptions>(arguments, {}, "check", parsed);
  if (parsed.help) return {.kind = CommandKind::help};
  if (failure) return usageError(*failure);
  if (parsed.operands.empty()) return usageError("check needs at least one FILE");
  return {.kind = CommandKind::check, .files = std::move(parsed.operands)};
}

Command parseTransform(std::span<const std::string> arguments) {
  ParsedArguments<TransformOptions> parsed;
  const auto failure =
      parseOptions<TransformOptions>(arguments, transformOptions, "transform", parsed);
  if (parsed.help) return {.kind = CommandKind::help};
  if (failure) return usageError(*failure);
  if (parsed.target.coefficientFile.empty()) return usageError("transform needs --transform FILE");
  if (parsed.operands.empty()) return usageError("transform needs a REPORT");
  if (parsed.operands.size() != 1) return usageError("transform takes one REPORT");
  parsed.target.report = parsed.operands.front();
  return {.kind = CommandKind::transform, .transform = std::move(parsed.target)};
}

std::string convertOptionsHelp() { return optionsHelp<ConvertOptions>(convertOptions); }

std::string transformOptionsHelp() { return optionsHelp<TransformOptions>(transformOptions); }

}  // namespace varistellar::cli
