#include "outputs/drawn_file.h"

#include <new>

namespace varistellar::outputs {

DrawnFile::DrawnFile(std::string file, std::string_view what, std::function<std::string()> draw,
                     OutOfMemoryFinding outOfMemory)
    : FileOutput{std::move(file), what},
      draw_{std::move(draw)},
      outOfMemory_{std::move(outOfMemory)} {}

Phase DrawnFile::finish(diagnostics::DiagnosticSink& findings) {
  try {
    const std::string text = draw_();
    std::string_view rest{text};
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      output().write(rest.substr(0, end));
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
  } catch (const std::bad_alloc&) {
    findings.error(outOfMemory_.file, 0, 0, outOfMemory_.text);
    return Phase::failed;
  }
  return FileOutput::finish(findings);
}

}  // namespace varistellar::outputs
