// The values an equation takes at an observation's time: its own filter's,
// and each partner filter's weighed as pairing found them, for the target
// and, alike, for the check star. Both commands fill them the same way.
#pragma once

#include "transform/night_transforms.h"
#include "transform/pairing.h"

namespace varistellar::transform {

// One observation as the equations read it: the target's V-C with its error,
// and the check star's -(C1-K1), NaN when the check star was not measured.
struct Reading {
  Instrumental target{};
  double check = 0.0;
};

struct EquationValues {
  ValuesAtTime target{};
  ValuesAtTime check{};
  // Whether every check star value that entered was measured: only then is
  // the check star transformed.
  bool checkComplete = true;
};

// The observation's own reading, in its filter's place.
void putOwn(EquationValues& values, char filter, const Reading& own);

// A partner filter's reading at the observation's time: `first` alone when
// the partner's weight is 0 (`second` is not read), else both interpolated
// with the partner's weights. A reading that enters without its check star
// leaves the check star out.
void putPartner(EquationValues& values, char filter, const Partner& partner, const Reading& first,
                const Reading& second);

}  // namespace varistellar::transform
