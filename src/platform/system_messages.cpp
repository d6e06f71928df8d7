// The messages for the system error codes that the program names itself.
#include "platform/platform.h"

namespace varistellar::platform {

std::optional<std::string_view> knownSystemMessage(int code) {
  switch (code) {
    case 2: return "The system cannot find the file specified.";
    case 3: return "The system cannot find the path specified.";
    case 5: return "Access Denied.";
    case 32:
      return "The process cannot access the file because it is being used by another process.";
    case 112: return "There is not enough space on the disk.";
    case 123: return "The file name, directory name, or volume label is not syntactically correct.";
    default: return std::nullopt;
  }
}

}  // namespace varistellar::platform
