// What the readers' tests share: a file of given bytes, in a folder of the
// test's own, and a sink that keeps every measurement.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "night/measurement.h"

namespace varistellar::night {

inline std::string writtenFile(const std::string& name, const std::string& bytes) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("varistellar-night-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / name).string();
  std::ofstream{path, std::ios::binary} << bytes;
  return path;
}

class Kept final : public MeasurementSink {
 public:
  bool take(const Measurement& measurement) override {
    all.push_back(measurement);
    return true;
  }
  std::vector<Measurement> all;
};

}  // namespace varistellar::night
