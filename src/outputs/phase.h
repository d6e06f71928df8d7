// Whether a phase of a command lets it go on: each command is a short
// sequence of phases, and a failed one says why it failed before it returns.
#pragma once

namespace varistellar::outputs {

enum class Phase { done, failed };

}  // namespace varistellar::outputs
