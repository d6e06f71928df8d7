// Writing the report as it is read.
#include "report_transform/one_pass.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "textio/bit_pattern.h"
#include "transform/night_transforms.h"

namespace varistellar::report_transform {

void addResult(ByteFingerprint& fingerprint, const RowResult& result) {
  std::array<std::uint64_t, 8> words{};
  words[0] = static_cast<std::uint64_t>(result.fate) | (result.checkOffset ? 0x100u : 0u);
  if (result.fate == Fate::transformed) {
    words[1] = textio::bitsOf(result.result.offset);
    words[2] = textio::bitsOf(result.result.error);
    words[3] = textio::bitsOf(result.result.colourDifference);
    words[4] = textio::bitsOf(result.comparison);
    words[5] = textio::bitsOf(result.colour);
    words[6] = textio::bitsOf(result.checkOffset.value_or(0.0));
    words[7] = static_cast<unsigned char>(result.transform->role.filter);
  }
  fingerprint.add({reinterpret_cast<const char*>(words.data()), sizeof words});
  if (result.fate == Fate::transformed) fingerprint.add(result.transform->coefficientText);
}

void OnePass::checked(std::string_view bytes, const ReportInputs& inputs) {
  if (!going_) return;
  // Lines end at LF and lose their CRs, as the second pass reads them.
  while (!bytes.empty()) {
    const auto* lf = static_cast<const char*>(std::memchr(bytes.data(), '\n', bytes.size()));
    const std::size_t length =
        lf == nullptr ? bytes.size() : static_cast<std::size_t>(lf - bytes.data());
    // Most lines end in CR LF: their last CR is left out, and any other looked for.
    const std::size_t kept = length != 0 && bytes[length - 1] == '\r' ? length - 1 : length;
    const std::size_t from = held_.size();
    held_.append(bytes.data(), kept);
    if (std::memchr(bytes.data(), '\r', kept) != nullptr) {
      held_.erase(std::remove(held_.begin() + static_cast<std::ptrdiff_t>(from), held_.end(), '\r'),
                  held_.end());
    }
    lineBegun_ = lineBegun_ || length != 0;
    // A line longer than all that may be held is left to the second pass,
    // which says so when it cannot hold it.
    if (held_.size() - lineStart_ > heldBytes_) return abandon();
    if (lf == nullptr) break;
    bytes.remove_prefix(length + 1);
    endLine(inputs);
    if (!going_) return;
  }
  write(inputs, false);
}

void OnePass::ended(const ReportInputs& inputs) {
  if (!going_) return;
  // Bytes after the last LF make one final line.
  if (lineBegun_) endLine(inputs);
  if (!going_) return;
  write(inputs, true);
  ended_ = going_;
}

void OnePass::endLine(const ReportInputs& inputs) {
  ++lineNumber_;
  HeldLine line{.title = lineNumber_ == inputs.titleLine, .length = held_.size() - lineStart_};
  if (nextRow_ < inputs.rows.size() && inputs.rows[nextRow_].line == lineNumber_) {
    line.row = static_cast<std::uint32_t>(nextRow_++);
    if (!plan_.add(inputs, line.row)) return abandon();
    if (firstToTransform_ == noRow && inputs.rows[line.row].why == Untransformable::none) {
      firstToTransform_ = line.row;
    }
  }
  lines_.push_back(line);
  lineStart_ = held_.size();
  lineBegun_ = false;
}

// The output starts once the first row that may be transformed is settled,
// so that the #TRANSFORM lines are foreseen from its star's filters.
bool OnePass::mayStart(const ReportInputs& inputs, bool ending) const {
  if (ending || overfull()) return true;
  return firstToTransform_ != noRow && plan_.settled(inputs, firstToTransform_);
}

void OnePass::write(const ReportInputs& inputs, bool ending) {
  if (!started_) {
    if (!mayStart(inputs, ending)) return;
    started_ = true;
    const auto transforms = plan_.transformsSoFar();
    if (!transforms) return abandon();
    transformLines_ = transform::transformCommentLines(*transforms, setting_.coefficientPath);
    if (!output_.start(transformLines_)) return abandon();
  }
  while (!lines_.empty()) {
    const HeldLine& head = lines_.front();
    const bool toTransform =
        head.row != noRow && inputs.rows[head.row].why == Untransformable::none;
    if (toTransform && !ending && !plan_.settled(inputs, head.row)) {
      if (!overfull()) break;
      if (exact_) firstUnsettled_ = head.row;
      exact_ = false;
    }
    if (!writeHead(inputs)) return abandon();
    heldStart_ += head.length;
    lines_.pop_front();
  }
  // What was written is dropped once it is most of what is held.
  if (heldStart_ > held_.size() / 2 && heldStart_ >= std::size_t{1} << 16) {
    held_.erase(0, heldStart_);
    lineStart_ -= heldStart_;
    heldStart_ = 0;
  }
}

bool OnePass::writeHead(const ReportInputs& inputs) {
  const HeldLine& head = lines_.front();
  const std::string_view text{held_.data() + heldStart_, head.length};
  if (head.row == noRow) {
    output_.copyLine(text, head.title);
    return true;
  }
  const RowInputs& row = inputs.rows[head.row];
  while (delimiter_ + 1 < inputs.delimiters.size() &&
         inputs.delimiters[delimiter_ + 1].line <= row.line) {
    ++delimiter_;
  }
  const char delimiter = inputs.delimiters[delimiter_].delimiter;
  if (row.why != Untransformable::none) {
    output_.putRow(inputs, head.row, text, delimiter, nullptr);
    return true;
  }
  const std::optional<RowResult> result = plan_.solve(inputs, head.row);
  if (!result) return false;
  if (!exact_) addResult(results_, *result);
  if (result->fate == Fate::transformed &&
      std::find(used_.begin(), used_.end(), result->transform) == used_.end()) {
    used_.push_back(result->transform);
  }
  output_.putRow(inputs, head.row, text, delimiter, &*result);
  plan_.written(inputs, head.row);
  return true;
}

bool OnePass::took(const transform::FilterRole& role) const {
  return std::any_of(used_.begin(), used_.end(), [&role](const transform::FilterTransform* t) {
    return t->role.filter == role.filter && t->role.equation == role.equation &&
           t->role.index == role.index;
  });
}

void OnePass::abandon() {
  going_ = false;
  lines_.clear();
  std::string{}.swap(held_);
  output_.abandon();
}

}  // namespace varistellar::report_transform
