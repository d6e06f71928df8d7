// The report stage of the interactive run.
#include "run/report.h"

#include <string>

#include "run/report_layout.h"
#include "textio/channels.h"

namespace varistellar::run {

void writeReportFile(const RunContext& context, const ObservationTable& table,
                     const ObserverParameters& parameters, Dialogue& dialogue) {
  dialogue.writingReport();
  const auto headerLines = reportHeaderLines(parameters, context.form, context.date);

  (void)textio::openChannel(reportChannel, context.reportFile, textio::noBranches);
  dialogue.reportOpened();

  for (const std::string& line : headerLines) {
    textio::writeRecord(reportChannel, line);
    dialogue.reportHeaderLineWritten(line);
  }
  dialogue.writingObservations();

  ObservationRecords records{parameters, context.form};
  std::string line;
  for (std::size_t i = 0; i < table.n(); ++i) {
    (void)records.build({table.JDHEL(i), table.STD(i), table.s1(i), table.AIRMASS(i)}, line);
    dialogue.observationRecordBuilt(line);
    textio::writeRecord(reportChannel, line);
  }

  dialogue.reportWritten();
  textio::closeChannel(reportChannel);
}

}  // namespace varistellar::run
