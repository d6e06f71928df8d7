// The transformation coefficient file: an INI file whose [Coefficients]
// section holds the coefficients (Tv_bv= -0.0467) and whose [Error] section
// holds their errors; every other section is passed over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "night/input_file.h"

namespace varistellar::transform {

inline constexpr night::InputFile coefficientFileInput{
    "the coefficient file", "a coefficient file",
    "the coefficient file, an INI text file with a [Coefficients] section"};

struct Coefficient {
  std::string name;  // as the file spells it (e.g. "Tv_bv"), of the last line that gave it
  double value = 0.0;
  std::uint64_t line = 0;  // where it stands in the file
};

// The sections that are read; keys in any other are not looked at.
enum class CoefficientSection { coefficients, error };

class CoefficientFile {
 public:
  // A coefficient file holds a few dozen keys; a section with more is no
  // coefficient file, and keeping them all would take memory without bound.
  static constexpr std::size_t maxEntriesPerSection = 256;

  // The [Coefficients] entry with that name, matched without regard to case;
  // none when absent.
  [[nodiscard]] const Coefficient* coefficient(std::string_view name) const;
  // The [Error] entry of that name.
  [[nodiscard]] const Coefficient* error(std::string_view name) const;
  // A section's entries, in the order of their first lines.
  [[nodiscard]] const std::vector<Coefficient>& entries(CoefficientSection section) const;

  // Keeps `entry` in `section`, in place of an entry of the same name
  // (without regard to case); false when it is a new name and the section
  // holds maxEntriesPerSection already.
  [[nodiscard]] bool set(CoefficientSection section, Coefficient entry);

 private:
  [[nodiscard]] std::vector<Coefficient>& entriesOf(CoefficientSection section);

  std::vector<Coefficient> coefficients_;
  std::vector<Coefficient> errors_;
};

struct CoefficientReading {
  CoefficientFile file;
  bool ok = false;  // no error was found
};

// Reads the file at `path`; its errors are reported to `findings` as
// path:line:column. A file that is missing, a folder or no text gets one
// error; so does one without a [Coefficients] section.
[[nodiscard]] CoefficientReading readCoefficientFile(const std::string& path,
                                                     diagnostics::DiagnosticSink& findings);

// The same from text already in memory; `path` only names it in messages.
[[nodiscard]] CoefficientReading readCoefficientText(std::string_view text, const std::string& path,
                                                     diagnostics::DiagnosticSink& findings);

}  // namespace varistellar::transform
