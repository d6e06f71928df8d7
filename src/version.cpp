// The program's version, handed in by the build for this file alone.
#include "version.h"

namespace varistellar {

std::string_view programVersion() { return VARISTELLAR_VERSION; }

}  // namespace varistellar
