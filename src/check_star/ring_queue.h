// A queue in one block that is reused as it goes round: the scatter's window
// and the observations waiting for it take and let go of one element per
// observation, which a deque would pay for with an allocation every few.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace varistellar::check_star {

template <typename T>
class RingQueue {
 public:
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] T& front() { return slots_[head_]; }
  [[nodiscard]] const T& back() const { return (*this)[size_ - 1]; }
  [[nodiscard]] const T& operator[](std::size_t i) const {
    return slots_[(head_ + i) % slots_.size()];
  }

  void push_back(T value) {
    if (size_ == slots_.size()) grow();
    slots_[(head_ + size_) % slots_.size()] = std::move(value);
    ++size_;
  }
  void pop_front() {
    head_ = (head_ + 1) % slots_.size();
    --size_;
  }

 private:
  // Twice the room, the elements in order from the start.
  void grow() {
    std::vector<T> larger(slots_.empty() ? 16 : 2 * slots_.size());
    for (std::size_t i = 0; i < size_; ++i)
      larger[i] = std::move(slots_[(head_ + i) % slots_.size()]);
    slots_ = std::move(larger);
    head_ = 0;
  }

  std::vector<T> slots_;
  std::size_t head_ = 0;
  std::size_t size_ = 0;
};

}  // namespace varistellar::check_star
