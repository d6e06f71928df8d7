// The reading's pieces handed to the follower's thread through a ring: the
// reading waits only when the follower is a whole ring behind.
#include "report_transform/follower_thread.h"

#include <algorithm>
#include <utility>

namespace varistellar::report_transform {

FollowerThread::~FollowerThread() { stop(); }

bool FollowerThread::start() {
  // The follower's work is shallow: a small stack keeps the thread's memory small.
  constexpr std::size_t stackBytes = std::size_t{512} << 10;
  running_ = free_.usable() && filled_.usable() && worker_.start([this] { work(); }, stackBytes);
  return running_;
}

void FollowerThread::hand(std::string_view bytes, ReportInputs& inputs) {
  send(Kind::piece, bytes, &inputs);
}

void FollowerThread::end(ReportInputs& inputs) {
  send(Kind::end, {}, &inputs);
  worker_.join();
  running_ = false;
  inputs.rows = std::move(own_.rows);
  if (failure_) std::rethrow_exception(failure_);
}

void FollowerThread::stop() {
  if (!running_) return;
  running_ = false;
  send(Kind::stop, {}, nullptr);
  worker_.join();
}

void FollowerThread::send(Kind kind, std::string_view bytes, ReportInputs* inputs) {
  free_.acquire();
  Piece& piece = pieces_[next_];
  piece.kind = kind;
  if (inputs != nullptr) {
    piece.bytes.assign(bytes);
    RowStore& rows = inputs->rows;
    piece.blocks.clear();
    while (blocksSent_ < rows.fullBlocks()) piece.blocks.push_back(rows.takeBlock(blocksSent_++));
    // The rows of the block being filled, from the first not sent yet.
    piece.rows.clear();
    for (std::size_t i = std::max(rowsSent_, blocksSent_ * RowStore::blockRows); i < rows.size();
         ++i) {
      piece.rows.push_back(rows[i]);
    }
    rowsSent_ = rows.size();
    const auto references = static_cast<std::ptrdiff_t>(referencesSent_);
    piece.references.assign(inputs->references.begin() + references, inputs->references.end());
    referencesSent_ = inputs->references.size();
    const auto delimiters = static_cast<std::ptrdiff_t>(delimitersSent_);
    piece.delimiters.assign(inputs->delimiters.begin() + delimiters, inputs->delimiters.end());
    delimitersSent_ = inputs->delimiters.size();
    piece.titleLine = inputs->titleLine;
  }
  next_ = (next_ + 1) % pieceCount;
  filled_.release();
}

void FollowerThread::work() {
  bool failed = false;
  for (std::size_t at = 0;; at = (at + 1) % pieceCount) {
    filled_.acquire();
    Piece& piece = pieces_[at];
    const Kind kind = piece.kind;
    // After a failure the rest is only taken, for the reading never to wait.
    if (!failed && kind != Kind::stop) {
      try {
        take(piece);
        if (kind == Kind::piece) {
          follower_.checked(piece.bytes, own_);
        } else {
          follower_.ended(own_);
        }
      } catch (...) {
        failure_ = std::current_exception();
        failed = true;
      }
    }
    free_.release();
    if (kind != Kind::piece) return;
  }
}

void FollowerThread::take(Piece& piece) {
  for (RowStore::Block& block : piece.blocks) own_.rows.adoptFullBlock(std::move(block));
  own_.rows.append(piece.rows);
  own_.references.insert(own_.references.end(), piece.references.begin(), piece.references.end());
  own_.delimiters.insert(own_.delimiters.end(), piece.delimiters.begin(), piece.delimiters.end());
  own_.titleLine = piece.titleLine;
}

}  // namespace varistellar::report_transform
