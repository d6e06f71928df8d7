// The rows' inputs in blocks of a fixed size: growing never copies the rows
// already read, so memory never holds two copies of them, and a block's
// memory is first written by the rows themselves.
#pragma once

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "report_transform/row_inputs.h"

namespace varistellar::report_transform {

class RowStore {
 public:
  static constexpr std::size_t blockRows = 8192;
  using Block = std::vector<RowInputs>;

  void push(const RowInputs& row) {
    if (size_ % blockRows == 0) {
      blocks_.emplace_back();
      blocks_.back().reserve(blockRows);
    }
    blocks_.back().push_back(row);
    ++size_;
  }
  void append(std::span<const RowInputs> rows) {
    for (const RowInputs& row : rows) push(row);
  }
  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] const RowInputs& operator[](std::size_t i) const {
    return blocks_[i / blockRows][i % blockRows];
  }
  [[nodiscard]] RowInputs& operator[](std::size_t i) {
    return blocks_[i / blockRows][i % blockRows];
  }

  // For handing rows to another store a block at a time, without copying
  // them: the blocks that are full, and the one at `index` moved out (its
  // rows are then read nowhere else, and the store only grows on).
  [[nodiscard]] std::size_t fullBlocks() const { return size_ / blockRows; }
  [[nodiscard]] Block takeBlock(std::size_t index) { return std::move(blocks_[index]); }
  // A full block taken from another store, whose first rows this store's
  // last, unfinished block holds already: it takes that block's place.
  void adoptFullBlock(Block&& block) {
    if (size_ % blockRows != 0) {
      blocks_.back() = std::move(block);
      size_ += blockRows - size_ % blockRows;
    } else {
      blocks_.push_back(std::move(block));
      size_ += blockRows;
    }
  }

 private:
  std::vector<Block> blocks_;
  std::size_t size_ = 0;
};

}  // namespace varistellar::report_transform
