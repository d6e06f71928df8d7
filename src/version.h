// The program's version, as the build sets it.
#pragma once

#include <string_view>

namespace varistellar {

// "X.Y.Z", from the CMake project's VERSION.
[[nodiscard]] std::string_view programVersion();

}  // namespace varistellar
