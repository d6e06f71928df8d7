// The value step.
#include "report/observation_values.h"

#include "report/number_text.h"

namespace varistellar::report {

ObservationOutcome observationValues(const night::Measurement& measurement,
                                     const night::NightParameters& parameters, DateKind date) {
  const double reference = measurement.reference.value_or(parameters.comparisonMagnitude);
  ObservationValues values{
      .DATE = date == DateKind::jd ? measurement.HJD - measurement.HELCOR : measurement.HJD,
      .MAG = reference + measurement.difference,
      .MERR = measurement.error,
      .AIRMASS = measurement.AIRMASS,
      .VMAGINS = measurement.difference,
      // Without a check star in the parameter file C1-K1 measures no star of the report.
      .KMAGINS = parameters.checkStar ? measurement.checkDifference : std::nullopt,
      .CREFMAG = measurement.reference,
      .ensemble = parameters.ensemble,
  };
  // A MERR below 0.999 is never written as 1.000: only the others need
  // writing out to tell.
  if (values.MERR >= 0.999 && writtenMagnitudeError(values.MERR) >= 1.0) {
    return ErrorTooLarge{values.MERR};
  }
  if (parameters.checkStar && values.KMAGINS) {
    values.Kstd = reference + *values.KMAGINS;
  }
  return values;
}

RecordValues nightRecordTexts(const night::NightParameters& parameters) {
  RecordValues values;
  values.set(aeff::Field::STARID, std::string_view{parameters.variableStarId});
  values.set(aeff::Field::FILT, std::string_view{parameters.filterName});
  values.set(aeff::Field::CNAME, std::string_view{parameters.comparisonStarId});
  values.set(aeff::Field::KNAME, night::checkStarName(parameters));
  values.set(aeff::Field::CHART, std::string_view{parameters.chartId});
  if (parameters.ensemble) {
    values.set(aeff::Field::CMAG, std::string_view{"na"});
  } else {
    values.set(aeff::Field::CMAG, 0.0);
  }
  values.set(Subfield::CREFMAG, parameters.comparisonMagnitude);
  if (parameters.checkStar) values.set(Subfield::KREFMAG, parameters.checkStar->magnitude);
  return values;
}

void setObservationValues(const ObservationValues& observation, RecordValues& values) {
  values.set(aeff::Field::DATE, observation.DATE);
  values.set(aeff::Field::MAG, observation.MAG);
  values.set(aeff::Field::MERR, observation.MERR);
  values.set(aeff::Field::AIRMASS, observation.AIRMASS);
  values.set(Subfield::VMAGINS, observation.VMAGINS);
  if (observation.CREFMAG) values.set(Subfield::CREFMAG, *observation.CREFMAG);
  if (observation.transformed) {
    values.set(Subfield::COLOR, observation.colour);
  } else {
    values.clear(Subfield::COLOR);
  }
  if (observation.errorSource.empty()) {
    values.clear(Subfield::MERRSRC);
  } else {
    values.set(Subfield::MERRSRC, observation.errorSource);
  }
  if (observation.KMAGINS) {
    values.set(Subfield::KMAGINS, *observation.KMAGINS);
    // An ensemble's KMAG is the check star's standard magnitude: its CMAG
    // is na, so KMAG - CMAG + CREFMAG cannot give it.
    values.set(aeff::Field::KMAG,
               observation.ensemble && observation.Kstd ? *observation.Kstd : *observation.KMAGINS);
  } else {
    values.clear(Subfield::KMAGINS);
    values.set(aeff::Field::KMAG, std::string_view{"na"});
  }
}

}  // namespace varistellar::report
