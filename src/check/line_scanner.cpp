// The line and field scanner.
#include "check/line_scanner.h"

namespace varistellar::check {

LineScanner::LineScanner(LineHandler handler) : handler_{std::move(handler)} {
  kept_.reserve(keptBytes);
  startLine();
}

void LineScanner::startLine() {
  const std::uint64_t number = line_.number + 1;
  line_ = ScannedLine{};
  line_.number = number;
  kept_.clear();
  hashLine_ = false;
  started_ = false;
}

void LineScanner::feed(std::string_view bytes) {
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    // Subtle: a byte order mark is passed over only when all three bytes
    // stand at the very start; otherwise its bytes are ordinary bytes.
    if (bom_ >= 0 && bom_ < 3) {
      static constexpr unsigned char mark[3] = {0xEF, 0xBB, 0xBF};
      if (u == mark[bom_]) {
        ++bom_;
        continue;
      }
      const int matched = bom_;
      bom_ = -1;
      for (int i = 0; i < matched; ++i) byte(mark[i]);
    }
    byte(u);
  }
}

void LineScanner::byte(unsigned char c) {
  if (pendingCr_) {
    pendingCr_ = false;
    if (c == '\n') {
      endLine(LineEnd::crlf);
      return;
    }
    line_.bareCr = true;
    lineByte('\r');
  }
  if (c == '\n') {
    endLine(LineEnd::lf);
  } else if (c == '\r') {
    pendingCr_ = true;
  } else {
    lineByte(c);
  }
}

void LineScanner::lineByte(unsigned char c) {
  const std::uint64_t column = ++line_.length;
  if (kept_.size() < keptBytes) kept_.push_back(static_cast<char>(c));
  if (!started_) {
    started_ = true;
    hashLine_ = c == '#';
    if (!hashLine_) line_.fieldCount = 1;
  }
  const bool tabDelimited = delimiter_ == '\t';
  if (line_.badColumn == 0 && c != '\r' &&
      (c > 0x7E || (c < 0x20 && !(c == '\t' && tabDelimited)))) {
    line_.badColumn = column;
    line_.badByte = c;
  }
  const bool blank = c == ' ' || (c == '\t' && !tabDelimited);
  if (!blank) line_.allBlank = false;
  if (hashLine_) return;
  if (c == static_cast<unsigned char>(delimiter_)) {
    if (++line_.fieldCount <= ScannedLine::keptFields)
      line_.fields[line_.fieldCount - 1].start = column;
    return;
  }
  if (line_.fieldCount > ScannedLine::keptFields) return;
  FieldSpan& field = line_.fields[line_.fieldCount - 1];
  ++field.length;
  if (blank) {
    if (field.leading + 1 == field.length) ++field.leading;
    ++field.trailing;
  } else {
    field.trailing = 0;
  }
}

void LineScanner::endLine(LineEnd end) {
  line_.end = end;
  line_.kept = std::string_view{kept_.data(), kept_.size()};
  handler_(line_);
  startLine();
}

void LineScanner::finish() {
  if (pendingCr_) {
    pendingCr_ = false;
    line_.bareCr = true;
    lineByte('\r');
  }
  if (bom_ > 0 && bom_ < 3) {
    static constexpr unsigned char mark[3] = {0xEF, 0xBB, 0xBF};
    const int matched = bom_;
    bom_ = -1;
    for (int i = 0; i < matched; ++i) lineByte(mark[i]);
  }
  if (started_) endLine(LineEnd::none);
}

}  // namespace varistellar::check
