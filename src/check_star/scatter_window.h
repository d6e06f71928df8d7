// The check star's scatter about each observation: the standard deviation
// of its standard magnitude over the W observations of the same filter
// nearest in time, worked out as the observations stream by. Only the
// observations that some window still needs are held, so memory stays flat
// however long the night, and each observation costs a few additions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "check_star/ring_queue.h"

namespace varistellar::check_star {

// The least number of measured check stars a window needs for a deviation.
inline constexpr std::size_t leastScatterCount = 5;
inline constexpr std::size_t defaultScatterWidth = 21;

class ScatterWindow {
 public:
  // `width` is odd and at least leastScatterCount.
  explicit ScatterWindow(std::size_t width);

  // The next observation, in time order: its time and its check star's
  // standard magnitude (NaN when the check star was not measured). False,
  // and the observation not taken, when it is earlier than the one before.
  bool add(double time, double Kstd);
  // No more observations follow: every one held gets its window.
  void end() { ended_ = true; }
  // Whether the oldest observation without a deviation has its window whole.
  [[nodiscard]] bool ready();
  // That observation's deviation (with N - 1), or none when fewer than
  // leastScatterCount of its window were measured. Only when ready().
  [[nodiscard]] std::optional<double> take();
  [[nodiscard]] std::size_t width() const { return width_; }
  // Observations taken in and not yet handed back.
  [[nodiscard]] std::size_t waiting() const { return static_cast<std::size_t>(added_ - next_); }

 private:
  struct Held {
    double time;
    double Kstd;
  };
  [[nodiscard]] const Held& at(std::uint64_t index) const {
    return held_[static_cast<std::size_t>(index - start_)];
  }
  void include(std::uint64_t index);
  void exclude(std::uint64_t index);
  // Moves the window one observation later.
  void slide();
  // Sums again over the window, about its first measured magnitude, so that
  // rounding does not build up over a long night.
  void recount();

  std::size_t width_;
  RingQueue<Held> held_;     // observations start_ .. added_ - 1
  std::uint64_t start_ = 0;  // the window's first observation
  std::uint64_t end_ = 0;    // one past its last
  std::uint64_t next_ = 0;   // the oldest observation still waiting
  std::uint64_t added_ = 0;
  bool ended_ = false;
  // The window's measured magnitudes: their count and sums of their
  // differences from `reference_`.
  std::size_t count_ = 0;
  double reference_ = 0.0;
  double sum_ = 0.0;
  double squares_ = 0.0;
  std::size_t slidesSinceRecount_ = 0;
};

}  // namespace varistellar::check_star
