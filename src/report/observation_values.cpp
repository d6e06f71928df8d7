// The value step.
#include "report/observation_values.h"

#include "report/number_text.h"

namespace varistellar::report {

ObservationOutcome observationValues(const night::Measurement& measurement,
                                     const night::NightParameters& parameters, run::DateKind date) {
  ObservationValues values{
      .DATE = date == run::DateKind::jd ? measurement.HJD - measurement.HELCOR : measurement.HJD,
      .MAG = parameters.comparisonMagnitude + measurement.difference,
      .MERR = measurement.error,
      .AIRMASS = measurement.AIRMASS,
      .VMAGINS = measurement.difference,
      .KMAGINS = measurement.checkDifference,
  };
  // A MERR below 0.999 is never written as 1.000: only the others need
  // writing out to tell.
  if (values.MERR >= 0.999 && writtenMagnitudeError(values.MERR) >= 1.0) {
    return ErrorTooLarge{values.MERR};
  }
  if (parameters.checkStar && values.KMAGINS) {
    values.Kstd = parameters.comparisonMagnitude + *values.KMAGINS;
  }
  return values;
}

RecordValues nightRecordTexts(const night::NightParameters& parameters) {
  RecordValues values;
  values.set(RecordKey::STARID, std::string_view{parameters.variableStarId});
  values.set(RecordKey::FILT, std::string_view{parameters.filterName});
  values.set(RecordKey::CNAME, std::string_view{parameters.comparisonStarId});
  values.set(RecordKey::KNAME, night::checkStarName(parameters));
  values.set(RecordKey::CHART, std::string_view{parameters.chartId});
  values.set(RecordKey::CMAG, 0.0);
  values.set(RecordKey::CREFMAG, parameters.comparisonMagnitude);
  if (parameters.checkStar) values.set(RecordKey::KREFMAG, parameters.checkStar->magnitude);
  return values;
}

void setObservationValues(const ObservationValues& observation, RecordValues& values) {
  values.set(RecordKey::DATE, observation.DATE);
  values.set(RecordKey::MAG, observation.MAG);
  values.set(RecordKey::MERR, observation.MERR);
  values.set(RecordKey::AIRMASS, observation.AIRMASS);
  values.set(RecordKey::VMAGINS, observation.VMAGINS);
  if (observation.KMAGINS) {
    values.set(RecordKey::KMAGINS, *observation.KMAGINS);
    values.set(RecordKey::KMAG, *observation.KMAGINS);
  } else {
    values.clear(RecordKey::KMAGINS);
    values.set(RecordKey::KMAG, std::string_view{"na"});
  }
}

}  // namespace varistellar::report
