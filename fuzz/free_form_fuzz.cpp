// Fuzzes the free-form read of reals over arbitrary lines, and the conversion
// of every value text in them against the correctly rounded double.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "textio/fields.h"

namespace {

using namespace varistellar::textio;

void check(bool property, const char* what, std::string_view text) {
  if (!property) {
    std::fprintf(stderr, "property broken: %s for \"%.*s\"\n", what, static_cast<int>(text.size()),
                 text.data());
    std::abort();
  }
}

class LineSource final : public RecordSource {
 public:
  explicit LineSource(std::span<const std::string_view> lines) : lines_{lines} {}
  bool nextRecord(InputRecord& record) override {
    if (next_ == lines_.size()) return false;
    record = {lines_[next_++], 0};
    return true;
  }

 private:
  std::span<const std::string_view> lines_;
  std::size_t next_ = 0;
};

// The correctly rounded double for a plain number ([sign] digits [. digits]
// [exponent letter] [sign] digits) whose mantissa M has at most 15 digits and
// whose decimal exponent T lies within 22 of zero; false for any other text.
// M counts the integer digits from the first non-zero one, and the fraction
// digits up to the last non-zero one.
bool nearestDouble(std::string_view text, double& nearest) {
  std::size_t at = 0;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  std::string digits;
  long scale = 0;
  bool point = false;
  std::size_t keep = 0;  // digits of M up to the last that counts
  for (; at < text.size(); ++at) {
    const char byte = text[at];
    if (byte == '.' && !point) {
      point = true;
      continue;
    }
    if (byte < '0' || byte > '9') break;
    if (digits.empty() && byte == '0') {
      if (point) --scale;
      continue;
    }
    digits += byte;
    if (point) --scale;
    if (!point || byte != '0') keep = digits.size();
  }
  if (point) scale += static_cast<long>(digits.size() - keep);
  digits.resize(keep);
  if (at < text.size() && std::string_view{"EeDd"}.find(text[at]) != std::string_view::npos) ++at;
  bool negativeExponent = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+'))
    negativeExponent = text[at++] == '-';
  long exponent = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    if (exponent > 100000) return false;
    exponent = exponent * 10 + (text[at] - '0');
  }
  if (at != text.size() || digits.size() > 15) return false;
  if (digits.empty()) {
    nearest = negative ? -0.0 : 0.0;
    return true;
  }
  const long total = scale + (negativeExponent ? -exponent : exponent);
  if (total < -22 || total > 22) return false;
  const std::string plain = digits + "e" + std::to_string(total);
  std::from_chars(plain.data(), plain.data() + plain.size(), nearest);
  if (negative) nearest = -nearest;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t variableCount = data[0] % 16 + 1;
  const std::string_view input{reinterpret_cast<const char*>(data + 1), size - 1};

  std::vector<std::string_view> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = input.find('\n', start);
    lines.push_back(input.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }

  std::vector<double> values(variableCount, 0.0);
  std::vector<double*> variables;
  for (double& value : values) variables.push_back(&value);
  LineSource source{std::span{lines}.subspan(1)};
  InputRecord record{lines.front(), 0};
  const FreeFormStatus status = readFreeFormReals(record, source, variables);
  check(status == FreeFormStatus::ok || status == FreeFormStatus::illegalCharacter ||
            status == FreeFormStatus::endOfFile,
        "a known status", input);
  check(record.column <= record.line.size(), "the column stays within its line", record.line);

  // Every token between separators, as a value text of its own.
  for (const std::string_view line : lines) {
    std::size_t start = 0;
    while (start < line.size()) {
      const std::size_t end = std::min(line.find_first_of(" \t,/", start), line.size());
      if (end > start) {
        const std::string_view text = line.substr(start, end - start);
        const RealConversion conversion = convertRealText(text);
        double nearest = 0.0;
        if (conversion.ok && nearestDouble(text, nearest)) {
          check(std::bit_cast<std::uint64_t>(conversion.value) ==
                    std::bit_cast<std::uint64_t>(nearest),
                "a short value text reads as the nearest double", text);
        }
      }
      start = end + 1;
    }
  }
  return 0;
}
