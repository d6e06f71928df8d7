// The rows' inputs in blocks of a fixed size: growing never copies the rows
// already read, so memory never holds two copies of them, and a block's
// memory is first written by the rows themselves.
#pragma once

#include <cstddef>
#include <vector>

#include "report_transform/row_inputs.h"

namespace varistellar::report_transform {

class RowStore {
 public:
  static constexpr std::size_t blockRows = 8192;

  void push(const RowInputs& row) {
    if (blocks_.empty() || blocks_.back().size() == blockRows) {
      blocks_.emplace_back();
      blocks_.back().reserve(blockRows);
    }
    blocks_.back().push_back(row);
    ++size_;
  }
  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] const RowInputs& operator[](std::size_t i) const {
    return blocks_[i / blockRows][i % blockRows];
  }
  [[nodiscard]] RowInputs& operator[](std::size_t i) {
    return blocks_[i / blockRows][i % blockRows];
  }

 private:
  std::vector<std::vector<RowInputs>> blocks_;
  std::size_t size_ = 0;
};

}  // namespace varistellar::report_transform
