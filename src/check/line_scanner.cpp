// The line and field scanner.
#include "check/line_scanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "textio/byte_words.h"

namespace varistellar::check {

LineScanner::LineScanner(LineHandler handler) : handler_{std::move(handler)} {
  kept_.reserve(keptBytes);
  startLine();
}

void LineScanner::startLine() {
  // Only the first field is cleared here; a later one is cleared when its
  // delimiter is met, so that a line costs no more than its fields.
  const std::uint64_t number = line_.number + 1;
  line_.number = number;
  line_.kept = {};
  line_.length = 0;
  line_.end = LineEnd::lf;
  line_.bareCr = false;
  line_.badColumn = 0;
  line_.badByte = 0;
  line_.fieldCount = 0;
  line_.fields[0] = FieldSpan{};
  line_.allBlank = true;
  kept_.clear();
  hashLine_ = false;
  started_ = false;
}

void LineScanner::feed(std::string_view bytes) {
  const char* at = bytes.data();
  const char* const end = at + bytes.size();
  while (at != end) {
    // A line that stands whole in these bytes is judged in place; a line
    // split between two feeds, and the file's first bytes, byte by byte.
    if (!started_ && !pendingCr_ && (bom_ < 0 || bom_ == 3)) {
      const void* lf = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
      if (lf != nullptr) {
        const char* const stop = static_cast<const char*>(lf);
        wholeLine({at, static_cast<std::size_t>(stop - at)});
        at = stop + 1;
        continue;
      }
    }
    startByte(static_cast<unsigned char>(*at++));
  }
}

void LineScanner::startByte(unsigned char u) {
  // Subtle: a byte order mark is passed over only when all three bytes
  // stand at the very start; otherwise its bytes are ordinary bytes.
  if (bom_ >= 0 && bom_ < 3) {
    static constexpr unsigned char mark[3] = {0xEF, 0xBB, 0xBF};
    if (u == mark[bom_]) {
      ++bom_;
      return;
    }
    const int matched = bom_;
    bom_ = -1;
    for (int i = 0; i < matched; ++i) byte(mark[i]);
  }
  byte(u);
}

namespace {

// Where a line's delimiters stand (the first of them), how many there are,
// and whether every byte is in the plain range 0x20-0x7E.
struct DelimiterScan {
  std::array<std::size_t, ScannedLine::keptFields> stops{};
  std::size_t count = 0;
  bool plain = true;
};

DelimiterScan scanDelimiters(std::string_view text, char delimiter) {
  DelimiterScan scan;
  const auto stopAt = [&scan](std::size_t i) {
    if (scan.count < scan.stops.size()) scan.stops[scan.count] = i;
    ++scan.count;
  };
  // Eight bytes at a time: the delimiters among them, and whether any lies
  // outside 0x20-0x7E.
  using textio::byteOnes;
  using textio::zeroBytes;
  constexpr std::uint64_t high = 0x80 * byteOnes;
  constexpr std::uint64_t low = 0x7F * byteOnes;
  const std::uint64_t delimiterWord = textio::repeatedByte(delimiter);
  std::uint64_t odd = 0;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, 8);
    odd |= (word & high) | ((word - 0x20 * byteOnes) & ~word & high) | zeroBytes(word ^ low);
    for (std::uint64_t found = zeroBytes(word ^ delimiterWord); found != 0; found &= found - 1)
      stopAt(at + static_cast<std::size_t>(std::countr_zero(found)) / 8);
  }
  for (; at < text.size(); ++at) {
    const auto c = static_cast<unsigned char>(text[at]);
    odd |= c < 0x20 || c > 0x7E;
    if (text[at] == delimiter) stopAt(at);
  }
  scan.plain = odd == 0;
  return scan;
}

}  // namespace

// The rare line with a byte out of the plain range, looked at again.
void LineScanner::noteOddBytes(std::string_view text) {
  const bool tabDelimited = delimiter_ == '\t';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r') {
      line_.bareCr = true;
    } else if ((c > 0x7E || (c < 0x20 && !(c == '\t' && tabDelimited))) && line_.badColumn == 0) {
      line_.badColumn = i + 1;
      line_.badByte = c;
    }
  }
}

void LineScanner::spanFields(std::string_view text, const std::size_t* stops,
                             std::size_t delimiters) {
  const char tabBlank = delimiter_ == '\t' ? ' ' : '\t';  // a TAB is a blank unless it delimits
  const auto blank = [tabBlank](char c) { return c == ' ' || c == tabBlank; };
  line_.fieldCount = delimiters + 1;
  const auto kept =
      static_cast<std::size_t>(std::min<std::uint64_t>(line_.fieldCount, ScannedLine::keptFields));
  const char* const p = text.data();
  std::size_t start = 0;
  for (std::size_t k = 0; k < kept; ++k) {
    const std::size_t stop = k < delimiters ? stops[k] : text.size();
    std::size_t lead = start;
    std::size_t trail = stop;
    // A blank is at most 0x20: most fields have none at either end.
    const auto atMostBlank = [p](std::size_t i) { return static_cast<unsigned char>(p[i]) <= ' '; };
    if (start != stop && (atMostBlank(start) || atMostBlank(stop - 1))) {
      while (lead < stop && blank(p[lead])) ++lead;
      while (trail > lead && blank(p[trail - 1])) --trail;
    }
    FieldSpan& field = line_.fields[k];
    field.start = start;
    field.length = stop - start;
    field.leading = lead - start;
    field.trailing = lead == stop ? stop - start : stop - trail;
    start = stop + 1;
  }
}

void LineScanner::wholeLine(std::string_view text) {
  LineEnd end = LineEnd::lf;
  if (!text.empty() && text.back() == '\r') {
    end = LineEnd::crlf;
    text.remove_suffix(1);
  }
  line_.length = text.size();
  // One pass finds the delimiters and whether any byte is out of the plain
  // range; the rare line with such a byte is looked at again.
  const bool hash = !text.empty() && text.front() == '#';
  const char delimiter = hash ? '\n' : delimiter_;  // a '#' line has no fields
  const DelimiterScan scan = scanDelimiters(text, delimiter);
  if (!scan.plain) noteOddBytes(text);
  const char tabBlank = delimiter_ == '\t' ? ' ' : '\t';
  line_.allBlank = std::all_of(text.begin(), text.end(),
                               [tabBlank](char c) { return c == ' ' || c == tabBlank; });
  if (!text.empty() && !hash) spanFields(text, scan.stops.data(), scan.count);
  line_.end = end;
  line_.kept = text.substr(0, keptBytes);
  handler_(line_);
  startLine();
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
      line_.fields[static_cast<std::size_t>(line_.fieldCount - 1)] = FieldSpan{.start = column};
    return;
  }
  if (line_.fieldCount > ScannedLine::keptFields) return;
  FieldSpan& field = line_.fields[static_cast<std::size_t>(line_.fieldCount - 1)];
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
