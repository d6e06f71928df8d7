// Fuzzes the coefficient file's reader over arbitrary bytes: it must not
// crash; reading the same bytes again must give the same entries and
// findings; the bytes read as a real file must give what they give from
// memory; every finding must point into the file, and every entry kept must
// be found by its own name, with a line of the file and a finite value.
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "scratch_file.h"
#include "transform/coefficient_file.h"

namespace {

using varistellar::diagnostics::DiagnosticList;
using varistellar::transform::CoefficientFile;
using varistellar::transform::CoefficientReading;
using varistellar::transform::CoefficientSection;

std::string scratchDirectory;
std::string scratchFile;

void check(bool property, const char* what) {
  if (!property) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

void writeScratch(std::string_view bytes) {
  varistellar::fuzz::writeScratchFile(scratchFile, bytes);
}

// The reading as text to compare: every entry, then every finding.
std::string described(const CoefficientReading& reading, const DiagnosticList& findings) {
  std::string text = reading.ok ? "ok\n" : "not ok\n";
  for (const CoefficientSection section :
       {CoefficientSection::coefficients, CoefficientSection::error}) {
    for (const auto& entry : reading.file.entries(section)) {
      char value[64];
      std::snprintf(value, sizeof value, " %a %llu\n", entry.value,
                    static_cast<unsigned long long>(entry.line));
      text.append(entry.name).append(value);
    }
    text.append("--\n");
  }
  for (const auto& finding : findings.all()) text.append(formatDiagnostic(finding)).append("\n");
  return text;
}

// The length of each line in bytes, its line end left out; a text after the
// last line end is a line too.
std::vector<std::size_t> lineLengths(std::string_view bytes) {
  std::vector<std::size_t> lengths;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1)
    lengths.push_back(end - start);
  if (start < bytes.size()) lengths.push_back(bytes.size() - start);
  return lengths;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // In memory where the system offers it: a disk's journal would take most
  // of the fuzzer's time.
  char inMemory[] = "/dev/shm/varistellar-fuzz-XXXXXX";
  char onDisk[] = "/tmp/varistellar-fuzz-XXXXXX";
  const char* directory = mkdtemp(inMemory);
  if (directory == nullptr) directory = mkdtemp(onDisk);
  if (directory == nullptr) std::abort();
  scratchFile = std::string{directory} + "/tg.ini";
  scratchDirectory = directory;
  std::atexit([] {
    unlink(scratchFile.c_str());
    rmdir(scratchDirectory.c_str());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes{reinterpret_cast<const char*>(data), size};
  DiagnosticList findings;
  const CoefficientReading reading =
      varistellar::transform::readCoefficientText(bytes, scratchFile, findings);
  const std::string first = described(reading, findings);

  DiagnosticList again;
  check(described(varistellar::transform::readCoefficientText(bytes, scratchFile, again), again) ==
            first,
        "the same bytes read again give the same reading");

  writeScratch(bytes);
  DiagnosticList fromFile;
  check(described(varistellar::transform::readCoefficientFile(scratchFile, fromFile), fromFile) ==
            first,
        "the bytes read from a file give what they give from memory");

  check(reading.ok == !findings.hasErrors(), "ok exactly when no error was found");
  const std::vector<std::size_t> lengths = lineLengths(bytes);
  for (const auto& finding : findings.all()) {
    check(finding.line <= lengths.size(), "the line lies within the file");
    check(finding.line != 0 || finding.column == 0, "a finding about the whole file has no column");
    if (finding.line != 0) {
      check(finding.column <= lengths[finding.line - 1] + 1, "the column lies within its line");
    }
  }
  const CoefficientFile& file = reading.file;
  for (const CoefficientSection section :
       {CoefficientSection::coefficients, CoefficientSection::error}) {
    check(file.entries(section).size() <= CoefficientFile::maxEntriesPerSection,
          "a bounded number of entries");
    for (const auto& entry : file.entries(section)) {
      const auto* found = section == CoefficientSection::coefficients ? file.coefficient(entry.name)
                                                                      : file.error(entry.name);
      check(found == &entry, "an entry is found by its own name");
      check(entry.line >= 1 && entry.line <= lengths.size(), "an entry's line lies in the file");
      check(std::isfinite(entry.value), "a finite value");
    }
  }
  return 0;
}
