// The transformation coefficient file: an INI file whose [Coefficients]
// section holds the coefficients (Tv_bv= -0.0467) and whose [Error] section
// holds their errors; every other section is passed over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
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
  // Orders names without regard to case.
  struct IgnoringCase {
    using is_transparent = void;
    [[nodiscard]] bool operator()(std::string_view a, std::string_view b) const;
  };
  // A hostile file may repeat a section's keys millions of times: each is
  // found through an index rather than by a look at every entry.
  struct Entries {
    std::vector<Coefficient> inOrder;
    std::map<std::string, std::size_t, IgnoringCase> byName;  // into inOrder
  };

  [[nodiscard]] const Entries& entriesOf(CoefficientSection section) const;
  [[nodiscard]] static const Coefficient* find(const Entries& entries, std::string_view name);

  Entries coefficients_;
  Entries errors_;
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

// True when the file whose first bytes are `beginning` has a [Coefficients]
// section (any case, blanks allowed around the name).
[[nodiscard]] bool isCoefficientFileBeginning(std::string_view beginning);

}  // namespace varistellar::transform
