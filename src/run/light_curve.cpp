// The light-curve stage of the interactive run.
#include "run/light_curve.h"

#include <array>

#include "textio/channels.h"

namespace varistellar::run {

using namespace textio;

LightCurveOutcome readLightCurveTable(const RunContext& context, ObservationSink& sink,
                                      Dialogue& dialogue) {
  if (openChannel(lightCurveChannel, context.tableFile, errorBranch) != IoOutcome::ok) {
    return LightCurveOutcome::openFailed;
  }

  // What the header lines hold is never examined.
  FixedText<80> header;
  for (int line = 0; line < 2; ++line) {
    if (readTextField(lightCurveChannel, errorBranch, 80, header.span()) != IoOutcome::ok) {
      return LightCurveOutcome::headerReadFailed;
    }
  }

  // A slot read again after a dropped line keeps that line's values where
  // the new line gives null values.
  Observation slot;
  const std::array<double*, 9> values = {&slot.JDHEL, &slot.V_C,    &slot.s1,
                                         &slot.V_K1,  &slot.s2,     &slot.C1_K1,
                                         &slot.s3,    &slot.HELCOR, &slot.AIRMASS};
  std::size_t kept = 0;
  // A read that ends at the end of the file stores nothing that is counted.
  while (readFreeForm(lightCurveChannel, endOfFileBranch, values) == IoOutcome::ok) {
    if (isDropped(slot)) continue;
    if (!sink.take(slot, 0)) return LightCurveOutcome::outOfMemory;
    ++kept;
    slot = Observation{};
  }

  dialogue.observationsRead(kept);
  closeChannel(lightCurveChannel);
  return LightCurveOutcome::ok;
}

}  // namespace varistellar::run
