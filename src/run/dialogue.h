// What the interactive conversion tells the user along the way. The stages
// report what they did through this one interface and never write to the
// console themselves; a dialogue that says nothing runs them silently.
#pragma once

#include <cstddef>
#include <string_view>

namespace varistellar::run {

class Dialogue {
 public:
  virtual ~Dialogue() = default;

  // The light-curve stage.
  virtual void observationsRead(std::size_t /*n*/) {}

  // The parameter stage, in the order it reads the file.
  virtual void openingParameters() {}
  virtual void parametersOpened() {}
  virtual void parameterHeaderRead(std::string_view /*line*/) {}
  virtual void parameterHeadersRead() {}
  virtual void observerCodeRead(std::string_view /*code*/) {}
  virtual void variableStarRead(std::string_view /*id*/) {}
  virtual void comparisonStarRead(std::string_view /*id*/, double /*magnitude*/) {}
  virtual void checkStarRead(std::string_view /*id*/, double /*magnitude*/) {}
  virtual void parametersRead() {}

  // The report stage: each header line after it reached the file, each
  // observation record before it does.
  virtual void writingReport() {}
  virtual void reportOpened() {}
  virtual void reportHeaderLineWritten(std::string_view /*line*/) {}
  virtual void writingObservations() {}
  virtual void observationRecordBuilt(std::string_view /*record*/) {}
  virtual void reportWritten() {}
};

}  // namespace varistellar::run
