// The program's version, as the build wrote it from the project's VERSION.
#include "version.h"

#include "version_number.h"

namespace varistellar {

std::string_view programVersion() { return VARISTELLAR_VERSION; }

}  // namespace varistellar
