// The sliding window of the check star's scatter.
#include "check_star/scatter_window.h"

#include <algorithm>
#include <cmath>

namespace varistellar::check_star {

ScatterWindow::ScatterWindow(std::size_t width) : width_{width} {}

bool ScatterWindow::add(double time, double Kstd) {
  if (added_ != 0 && time < held_.back().time) return false;
  held_.push_back({time, Kstd});
  ++added_;
  return true;
}

void ScatterWindow::include(std::uint64_t index) {
  const double Kstd = at(index).Kstd;
  if (std::isnan(Kstd)) return;
  if (count_ == 0) {
    reference_ = Kstd;
    sum_ = 0.0;
    squares_ = 0.0;
  }
  ++count_;
  const double difference = Kstd - reference_;
  sum_ += difference;
  squares_ += difference * difference;
}

void ScatterWindow::exclude(std::uint64_t index) {
  const double Kstd = at(index).Kstd;
  if (std::isnan(Kstd)) return;
  --count_;
  const double difference = Kstd - reference_;
  sum_ -= difference;
  squares_ -= difference * difference;
}

void ScatterWindow::slide() {
  exclude(start_);
  held_.pop_front();
  ++start_;
  include(end_++);
  if (++slidesSinceRecount_ >= width_) recount();
}

void ScatterWindow::recount() {
  slidesSinceRecount_ = 0;
  count_ = 0;
  for (std::uint64_t i = start_; i < end_; ++i) include(i);
}

// The window of observation i is the `width_` observations nearest to it in
// time: it begins no earlier than i - width_ + 1, and moves on while the
// observation after it is nearer to i than its first one (on a tie the
// earlier stays). Both ends only move later, so each observation is taken
// in and let go once.
bool ScatterWindow::ready() {
  if (next_ == added_) return false;
  while (end_ - start_ < width_ && end_ < added_) include(end_++);
  if (end_ - start_ < width_ && !ended_) return false;
  const std::uint64_t i = next_;
  while (start_ + width_ <= i) {
    if (end_ == added_) return ended_;
    slide();
  }
  const double time = at(i).time;
  while (time > at(start_).time) {
    if (end_ == added_) return ended_;
    if (at(end_).time - time >= time - at(start_).time) break;
    slide();
  }
  return true;
}

std::optional<double> ScatterWindow::take() {
  ++next_;
  if (count_ < leastScatterCount) return std::nullopt;
  const auto n = static_cast<double>(count_);
  const double squares = squares_ - sum_ * sum_ / n;
  return std::sqrt(std::max(squares, 0.0) / (n - 1.0));
}

}  // namespace varistellar::check_star
