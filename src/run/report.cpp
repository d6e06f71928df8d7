// The report stage.
#include "run/report.h"

#include <array>
#include <string>
#include <string_view>

#include "run/run.h"
#include "textio/channels.h"

namespace varistellar::run {
namespace {

using namespace textio;

constexpr std::string_view reportFile = "lightcurve-aavso.txt";
constexpr std::string_view delimiter = ",";

constexpr std::array magnitudeGroup = {textField(1), fixedField(6, 3)};

// One observation: 22 fields, 105 columns, the same for every record.
constexpr std::array observationRecordLayout = {
    textField(11),             // STARID
    textField(1),              // ,
    fixedField(13, 5),         // DATE
    group(2, magnitudeGroup),  // ,MAG ,MERR
    textField(1),              // ,
    textField(6),              // FILT
    textField(1),              // ,
    textField(2),              // TRANS
    textField(1),              // ,
    textField(3),              // MTYPE
    textField(1),              // ,
    textField(11),             // CNAME
    textField(4),              // ,CMAG,
    textField(11),             // KNAME
    textField(4),              // ,KMAG,
    fixedField(6, 3),          // AIRMASS
    textField(4),              // ,GROUP,
    textField(8),              // CHART
    textField(3),              // ,NOTES
};

constexpr std::size_t observationValueCount = 22;
constexpr auto observationFields = placeDataFields<observationValueCount>(observationRecordLayout);
// The values of an observation record that are numbers, by their place.
constexpr std::size_t dateValue = 2;
constexpr std::size_t magnitudeValue = 4;
constexpr std::size_t errorValue = 6;
constexpr std::size_t airmassValue = 18;
static_assert(observationFields[dateValue].field.kind == LayoutItem::Kind::fixedPoint &&
              observationFields[magnitudeValue].field.kind == LayoutItem::Kind::fixedPoint &&
              observationFields[errorValue].field.kind == LayoutItem::Kind::fixedPoint &&
              observationFields[airmassValue].field.kind == LayoutItem::Kind::fixedPoint);

// Joins a prefix and a value into a text of exactly `width` characters:
// cut when longer, padded with blanks when shorter.
std::string fixedLengthJoin(std::string_view prefix, std::string_view value, std::size_t width) {
  std::string joined{prefix};
  joined.append(value);
  joined.resize(width, ' ');
  return joined;
}

// Writes a header line to the report file, then to the console.
void writeHeaderLine(std::string_view line) {
  const std::array layout = {textField(static_cast<int>(line.size()))};
  const std::array<FieldValue, 1> values = {line};
  writeLayout(reportChannel, layout, values);
  writeLayout(consoleChannel, layout, values);
}

}  // namespace

void writeReportFile(const ObservationTable& table, const ObserverParameters& parameters) {
  writeFreeForm(consoleChannel, {" Writing out AAVSO extended format observation file"});

  const std::string observerLine = fixedLengthJoin("#OBSCODE=", parameters.observerCode.view(), 13);
  const std::string delimiterLine = fixedLengthJoin("#DELIM=", delimiter, 8);
  const std::array<std::string_view, 7> headerLines = {
      "#TYPE=Extended",
      observerLine,
      "#SOFTWARE=MAGNIVEX",
      delimiterLine,
      "#DATE=HJD",
      "#OBSTYPE=CCD",
      "#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES",
  };

  (void)openChannel(reportChannel, reportFile, noBranches);
  writeFreeForm(consoleChannel, {"Successfully opened output file for writing"});
  pausePrompt(enterPrompt);

  for (const std::string_view line : headerLines) writeHeaderLine(line);

  writeFreeForm(consoleChannel, {" Writing observations to AAVSO file"});
  pausePrompt(anyKeyPrompt);

  // Records differ only in their four numbers: the first is laid out whole,
  // every later one rewrites DATE, MAG, MERR and AIRMASS in their columns.
  std::string line;
  for (std::int32_t j = 0; j < table.n; ++j) {
    const auto i = static_cast<std::size_t>(j);
    if (j == 0) {
      const std::array<FieldValue, observationValueCount> record = {
          parameters.variableStarId.view(),  // STARID
          delimiter,
          table.JDHEL[i],  // DATE
          delimiter,
          table.STD[i],  // MAG
          delimiter,
          table.s1[i],  // MERR
          delimiter,
          parameters.filterName.view(),  // FILT
          delimiter,
          "NO",  // TRANS
          delimiter,
          "STD",  // MTYPE
          delimiter,
          parameters.comparisonStarId.view(),  // CNAME
          ",na,",                              // CMAG
          parameters.checkStarId.view(),       // KNAME
          ",na,",                              // KMAG
          table.AIRMASS[i],                    // AIRMASS
          ",na,",                              // GROUP
          parameters.chartId.view(),           // CHART
          ",na",                               // NOTES
      };
      buildLayoutRecord(observationRecordLayout, record, line);
    } else {
      rewriteFixedField(observationFields[dateValue], table.JDHEL[i], line);
      rewriteFixedField(observationFields[magnitudeValue], table.STD[i], line);
      rewriteFixedField(observationFields[errorValue], table.s1[i], line);
      rewriteFixedField(observationFields[airmassValue], table.AIRMASS[i], line);
    }
    writeRecord(consoleChannel, line);
    writeRecord(reportChannel, line);
  }

  writeFreeForm(consoleChannel, {" Successfully wrote output AAVSO extended file"});
  pausePrompt(enterPrompt);
  closeChannel(reportChannel);
}

}  // namespace varistellar::run
