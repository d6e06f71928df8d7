// A file output drawn whole once everything it shows is known (the night's
// picture): its text is made as it is finished, and written line by line.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "outputs/file_output.h"

namespace varistellar::outputs {

// What is reported when there is no memory to draw the file.
struct OutOfMemoryFinding {
  std::string file;
  std::string text;
};

class DrawnFile final : public FileOutput {
 public:
  DrawnFile(std::string file, std::string_view what, std::function<std::string()> draw,
            OutOfMemoryFinding outOfMemory);

  // Draws the file, writes it and makes it durable.
  Phase finish(diagnostics::DiagnosticSink& findings) override;

 private:
  std::function<std::string()> draw_;
  OutOfMemoryFinding outOfMemory_;
};

}  // namespace varistellar::outputs
