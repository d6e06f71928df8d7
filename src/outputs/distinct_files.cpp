// The pairwise comparison of convert's files.
#include "outputs/distinct_files.h"

#include "diagnostics/quoted.h"
#include "platform/platform.h"

namespace varistellar::outputs {

std::size_t reportSharedFiles(std::span<const FileRole> files,
                              // cppcheck-suppress constParameter ; findings are added to it
                              diagnostics::DiagnosticSink& findings) {
  std::size_t shared = 0;
  for (std::size_t later = 1; later < files.size(); ++later) {
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      if (!platform::sameFile(std::string{files[earlier].file}, std::string{files[later].file})) {
        continue;
      }
      ++shared;
      findings.report({.file = std::string{files[later].file},
                       .text = "the " + std::string{files[later].role} +
                               " is the same file as the " + std::string{files[earlier].role} +
                               " " + diagnostics::shownName(files[earlier].file) +
                               "; give each its own file"});
      break;  // one error for each file that repeats
    }
  }
  return shared;
}

}  // namespace varistellar::outputs
