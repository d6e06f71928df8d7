// Fuzzes `varistellar transform` as a whole over arbitrary report bytes, with
// a coefficient file for every filter set: it must not crash; it ends with 0
// or 1; with 0 the transformed report is there and `check` finds no error in
// it; with 1 nothing is there; and no other file is ever left beside them.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "check/report_check.h"
#include "diagnostics/diagnostic.h"
#include "report_transform/transform_command.h"
#include "scratch_file.h"
#include "transform/colour_option.h"

namespace {

std::string folder;

void check(bool property, const char* what) {
  if (!property) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

// The names in the scratch folder besides the report and the coefficients.
int otherEntries() {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) std::abort();
  int count = 0;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name{entry->d_name};
    if (name != "." && name != ".." && name != "r.txt" && name != "tg.ini") ++count;
  }
  closedir(dir);
  return count;
}

constexpr std::string_view coefficients =
    "[Coefficients]\nTbv=1.1973\nTb_bv=0.1181\nTv_bv=-0.0467\nTvr=1.02\nTv_vr=-0.05\n"
    "Tr_vr=0.03\nTvi=0.98\nTv_vi=-0.04\nTi_vi=0.02\n"
    "[Error]\nTb_bv=0.0103\nTv_bv=0.0070\nTv_vr=0.004\nTr_vr=0.005\nTv_vi=0.006\nTi_vi=0.007\n";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  folder = varistellar::fuzz::scratchFolder("transform");
  varistellar::fuzz::writeScratchFile(folder + "/tg.ini", coefficients);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using varistellar::report_transform::TransformOptions;
  const std::string report = folder + "/r.txt";
  const std::string output = folder + "/out.txt";
  varistellar::fuzz::writeScratchFile(report, {reinterpret_cast<const char*>(data), size});
  unlink(output.c_str());
  TransformOptions options;
  options.report = report;
  options.coefficientFile = folder + "/tg.ini";
  options.output = output;
  // Half the inputs give a colour, so that filters alone are transformed too.
  if (size != 0 && (data[0] & 1) != 0) {
    options.colour = varistellar::transform::parseColourOption("B-V=0.5,0.6,0.7");
    check(options.colour.has_value(), "the colour option reads");
  }
  const int status = varistellar::report_transform::runTransformCommand(options);
  check(status == 0 || status == 1, "the exit status is 0 or 1");
  const bool written = access(output.c_str(), F_OK) == 0;
  check(written == (status == 0), "a report is there exactly when the run succeeded");
  if (written) {
    varistellar::diagnostics::DiagnosticList findings;
    (void)varistellar::check::checkReportFile(output, findings);
    check(!findings.hasErrors(), "check finds no error in the transformed report");
  }
  check(otherEntries() == (written ? 1 : 0), "no other file is left beside the report");
  return 0;
}
