// A follower of the reading on a thread of its own, so that the report is
// checked on one core while the follower (the one pass: transforming and
// writing) works on another. Each piece read goes over with what the inputs
// gained with it: the follower works on its own copy of the inputs, which
// no other thread touches. The rows' full blocks move over rather than
// being copied (only the rows of the block being filled are copied), so that
// memory holds each row once, in blocks the reading's thread allocated; they
// come back when the reading ends.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "report_transform/report_inputs.h"

namespace varistellar::report_transform {

class FollowerThread {
 public:
  explicit FollowerThread(ReadingFollower& follower) : follower_{follower} {}
  FollowerThread(const FollowerThread&) = delete;
  FollowerThread& operator=(const FollowerThread&) = delete;
  // A reading that ended otherwise (it failed, or threw) stops the follower
  // where it is.
  ~FollowerThread();

  // False when the system gives no thread: the follower is then to be
  // called on the reading's own.
  [[nodiscard]] bool start();
  // A piece the checker has read, and what `inputs` gained with it; the full
  // blocks of rows leave `inputs`. The first piece may come after others
  // were given to the follower itself: it then carries all that `inputs` holds.
  void hand(std::string_view bytes, ReportInputs& inputs);
  // The reading's end: the follower ends too, `inputs` gets its rows back,
  // and what the follower threw is thrown here.
  void end(ReportInputs& inputs);

 private:
  enum class Kind : std::uint8_t { piece, end, stop };
  struct Piece {
    Kind kind = Kind::piece;
    std::string bytes;
    std::vector<RowStore::Block> blocks;  // full blocks, moved
    std::vector<RowInputs> rows;          // the rows since, copied
    std::vector<ComparisonReference> references;
    std::vector<DelimiterChange> delimiters;
    std::uint64_t titleLine = 0;
  };
  // 2 MiB of the report's bytes at most: enough for either thread to run
  // on while the system gives the other's core to the report's own check.
  static constexpr unsigned pieceCount = 32;

  void send(Kind kind, std::string_view bytes, ReportInputs* inputs);
  void work();
  void take(Piece& piece);
  void stop();

  ReadingFollower& follower_;
  ReportInputs own_;  // the follower's copy, touched only by its thread
  std::array<Piece, pieceCount> pieces_;
  std::size_t next_ = 0;  // the piece the reading fills next
  std::size_t blocksSent_ = 0;
  std::size_t rowsSent_ = 0;
  std::size_t referencesSent_ = 0;
  std::size_t delimitersSent_ = 0;
  platform::Semaphore free_{pieceCount};
  platform::Semaphore filled_{0};
  platform::WorkerThread worker_;
  std::exception_ptr failure_;  // what the follower threw
  bool running_ = false;
};

}  // namespace varistellar::report_transform
