// A file of given bytes for the readers' tests, in a folder of the test's own.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

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

}  // namespace varistellar::night
