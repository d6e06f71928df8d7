// Temporary names, made and read back.
#include "convert/temporary_files.h"

#include "diagnostics/quoted.h"
#include "platform/platform.h"

namespace varistellar::convert {
namespace {

constexpr std::string_view temporaryEnding = ".tmp";

// Where the folder part of a path ends (after its last separator).
std::size_t nameStart(std::string_view path) {
  std::size_t start = path.size();
  while (start > 0 && !platform::isPathSeparator(path[start - 1])) --start;
  return start;
}

bool isContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::optional<std::uint32_t> digitsValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits.front() == '0')) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (const char digit : digits) {
    if (digit < '0' || digit > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(digit - '0');
  }
  return value;
}

}  // namespace

std::string folderOf(std::string_view path) { return std::string{path.substr(0, nameStart(path))}; }

std::string temporaryName(std::string_view output, std::uint32_t processId, unsigned attempt) {
  const std::size_t start = nameStart(output);
  std::string ending = "." + std::to_string(processId);
  if (attempt != 0) ending += "-" + std::to_string(attempt);
  ending += temporaryEnding;
  std::string_view name = output.substr(start);
  if (name.size() + ending.size() > longestEntryName) {
    std::size_t length = longestEntryName - ending.size();
    while (length > 0 && isContinuationByte(name[length])) --length;
    name = name.substr(0, length);
  }
  return std::string{output.substr(0, start)}.append(name).append(ending);
}

std::optional<std::uint32_t> temporaryNameOwner(std::string_view output, std::string_view entry) {
  if (!entry.ends_with(temporaryEnding)) return std::nullopt;
  std::string_view rest = entry.substr(0, entry.size() - temporaryEnding.size());
  const std::size_t dot = rest.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string_view numbers = rest.substr(dot + 1);
  unsigned attempt = 0;
  if (const std::size_t dash = numbers.find('-'); dash != std::string_view::npos) {
    const auto number = digitsValue(numbers.substr(dash + 1));
    if (!number || *number == 0) return std::nullopt;
    attempt = *number;
    numbers = numbers.substr(0, dash);
  }
  const auto owner = digitsValue(numbers);
  if (!owner) return std::nullopt;
  // Only the very name a run would have made counts: nothing else is touched.
  if (temporaryName(output.substr(nameStart(output)), *owner, attempt) != entry) {
    return std::nullopt;
  }
  return owner;
}

std::vector<std::string> removeStaleTemporaries(const std::string& output) {
  const std::string folder = folderOf(output);
  std::vector<std::string> removed;
  for (const std::string& entry : platform::folderEntries(folder)) {
    const auto owner = temporaryNameOwner(output, entry);
    if (!owner || *owner == platform::processId() || platform::processAlive(*owner)) continue;
    const std::string path = folder + entry;
    if (platform::pathKind(path) == platform::PathKind::file && platform::removeFile(path) == 0) {
      removed.push_back(path);
    }
  }
  return removed;
}

std::string removedTemporaryNote(const std::string& removed) {
  return diagnostics::shownName(removed) +
         ": note: removed: a temporary file left by a run of varistellar that was stopped";
}

}  // namespace varistellar::convert
