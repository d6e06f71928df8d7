// The interactive conversion's console: the banner, every stage message and
// echo, the pauses between stages and the messages of the handled failures.
#pragma once

#include <string_view>

#include "run/dialogue.h"

namespace varistellar::run {

inline constexpr std::string_view enterPrompt = ">>>Hit enter key to continue";
inline constexpr std::string_view anyKeyPrompt = ">>>Hit any key to continue";

class InteractiveDialogue final : public Dialogue {
 public:
  void banner();
  void tableRead();
  void standardMagnitudesComputed();

  // The handled failures; each is followed by the failure tail.
  void tableOpenFailed();
  void tableHeaderReadFailed();
  void parameterOpenFailed();
  void parameterLineReadFailed();
  // A pause, then the end of the run with the handled-failure status.
  [[noreturn]] void failureTail();

  void observationsRead(std::size_t n) override;
  void openingParameters() override;
  void parametersOpened() override;
  void parameterHeaderRead(std::string_view line) override;
  void parameterHeadersRead() override;
  void observerCodeRead(std::string_view code) override;
  void variableStarRead(std::string_view id) override;
  void comparisonStarRead(std::string_view id, double magnitude) override;
  void checkStarRead(std::string_view id, double magnitude) override;
  void parametersRead() override;
  void writingReport() override;
  void reportOpened() override;
  void reportHeaderLineWritten(std::string_view line) override;
  void writingObservations() override;
  void observationRecordBuilt(std::string_view record) override;
  void reportWritten() override;
};

}  // namespace varistellar::run
