// The report stage of the interactive run.
#include "run/report.h"

#include <string>

#include "night/table_format.h"
#include "report/header_lines.h"
#include "report/record_forms.h"
#include "textio/channels.h"

namespace varistellar::run {

void writeReportFile(const RunContext& context, const ObservationTable& table,
                     const ObserverParameters& parameters, Dialogue& dialogue) {
  dialogue.writingReport();
  const auto headerLines = report::reportHeaderLines(parameters.observerCode, context.form,
                                                     context.date, night::magnivexProgram);

  (void)textio::openChannel(reportChannel, context.reportFile, textio::noBranches);
  dialogue.reportOpened();

  for (const std::string& line : headerLines) {
    textio::writeRecord(reportChannel, line);
    dialogue.reportHeaderLineWritten(line);
  }
  dialogue.writingObservations();

  using aeff::Field;
  report::InteractiveRecordForm form;
  report::RecordValues values;
  values.set(Field::STARID, std::string_view{parameters.variableStarId});
  values.set(Field::FILT, std::string_view{parameters.filterName});
  values.set(Field::CNAME, std::string_view{parameters.comparisonStarId});
  values.set(Field::KNAME, std::string_view{parameters.checkStarId});
  values.set(Field::CHART, std::string_view{parameters.chartId});
  std::string line;
  for (std::size_t i = 0; i < table.n(); ++i) {
    values.set(Field::DATE, table.JDHEL(i));
    values.set(Field::MAG, table.STD(i));
    values.set(Field::MERR, table.s1(i));
    values.set(Field::AIRMASS, table.AIRMASS(i));
    (void)form.build(values, line);
    dialogue.observationRecordBuilt(line);
    textio::writeRecord(reportChannel, line);
  }

  dialogue.reportWritten();
  textio::closeChannel(reportChannel);
}

}  // namespace varistellar::run
