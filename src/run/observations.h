// The values a conversion carries from stage to stage: the observations of
// the light-curve table and the observer's parameters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace varistellar::run {

// One line of the light-curve table as it is read: its first nine values
// (ALTITUDE, the tenth, is never used).
struct Observation {
  double JDHEL = 0.0;   // heliocentric Julian date
  double V_C = 0.0;     // V-C: variable minus comparison star
  double s1 = 0.0;      // error of V-C
  double V_K1 = 0.0;    // variable minus check star
  double s2 = 0.0;      // error of V-K1
  double C1_K1 = 0.0;   // comparison minus check star
  double s3 = 0.0;      // error of C1-K1
  double HELCOR = 0.0;  // heliocentric correction, days
  double AIRMASS = 0.0;
};

// Observations whose V-C is above this were not measured: MAGNIVEX writes
// 99.999 for them, and they are dropped.
inline constexpr double droppedMagnitude = 90.0;

[[nodiscard]] inline bool isDropped(const Observation& observation) {
  return observation.V_C > droppedMagnitude;
}

// Where a reader hands each kept observation, with the table line it came
// from (0 when lines are not counted). False: it could not be taken (memory
// is out), and reading stops.
class ObservationSink {
 public:
  virtual bool take(const Observation& observation, std::uint64_t line) = 0;

 protected:
  ~ObservationSink() = default;
};

// The kept observations of the light-curve table, entries 0 to n - 1 in file
// order. It grows with the night a block at a time, so each observation costs
// its five doubles and the blocks never move.
class ObservationTable final : public ObservationSink {
 public:
  static constexpr std::size_t blockSize = 4096;

  // Keeps the observation's four columns; false when memory is out.
  bool take(const Observation& observation, std::uint64_t line) override;

  [[nodiscard]] std::size_t n() const { return n_; }
  [[nodiscard]] double JDHEL(std::size_t i) const { return block(i).JDHEL[i % blockSize]; }
  [[nodiscard]] double V_C(std::size_t i) const { return block(i).V_C[i % blockSize]; }
  [[nodiscard]] double s1(std::size_t i) const { return block(i).s1[i % blockSize]; }
  [[nodiscard]] double AIRMASS(std::size_t i) const { return block(i).AIRMASS[i % blockSize]; }
  [[nodiscard]] double STD(std::size_t i) const { return block(i).STD[i % blockSize]; }
  void setSTD(std::size_t i, double value) { blocks_[i / blockSize]->STD[i % blockSize] = value; }

 private:
  struct Block {
    std::array<double, blockSize> JDHEL;
    std::array<double, blockSize> V_C;
    std::array<double, blockSize> s1;
    std::array<double, blockSize> AIRMASS;
    std::array<double, blockSize> STD;
  };
  [[nodiscard]] const Block& block(std::size_t i) const { return *blocks_[i / blockSize]; }

  std::vector<std::unique_ptr<Block>> blocks_;
  std::size_t n_ = 0;
};

// What the observer's parameter file says about the night. The interactive
// run holds each text at its fixed width, blank-padded or cut; `convert`
// holds it whole, without the blanks at its ends.
struct ObserverParameters {
  std::string observerCode;
  std::string variableStarId;
  std::string comparisonStarId;
  double comparisonMagnitude = 0.0;
  std::string filterName;
  std::string chartId;
  std::string checkStarId;
  double checkMagnitude = 0.0;
};

}  // namespace varistellar::run
