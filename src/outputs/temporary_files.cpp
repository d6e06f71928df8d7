// Temporary names, made and read back.
#include "outputs/temporary_files.h"

#include <algorithm>
#include <random>

#include "diagnostics/quoted.h"
#include "platform/platform.h"

namespace varistellar::outputs {
namespace {

constexpr std::string_view temporaryEnding = ".tmp";
constexpr std::string_view programPart = ".varistellar-";
constexpr std::size_t tagDigits = 8;

// Where the folder part of a path ends (after its last separator).
std::size_t nameStart(std::string_view path) {
  std::size_t start = path.size();
  while (start > 0 && !platform::isPathSeparator(path[start - 1])) --start;
  return start;
}

bool isContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::optional<std::uint32_t> decimalValue(std::string_view digits) {
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

std::string hexText(std::uint32_t value) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string text(tagDigits, '0');
  for (std::size_t i = tagDigits; i-- > 0; value >>= 4) text[i] = digits[value & 0xF];
  return text;
}

std::optional<std::uint32_t> hexValue(std::string_view text) {
  if (text.size() != tagDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    const bool digit = c >= '0' && c <= '9';
    if (!digit && (c < 'a' || c > 'f')) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit ? c - '0' : c - 'a' + 10);
  }
  return value;
}

// How many first bytes tell an output from anything else.
constexpr std::size_t telltaleBytes = 64;
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view pictureStart = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ";

}  // namespace

std::string folderOf(std::string_view path) { return std::string{path.substr(0, nameStart(path))}; }

std::string temporaryName(std::string_view output, TemporaryOwner owner) {
  const std::size_t start = nameStart(output);
  const std::string ending = std::string{programPart} + std::to_string(owner.processId) + "-" +
                             hexText(owner.tag) + std::string{temporaryEnding};
  std::string_view name = output.substr(start);
  if (name.size() + ending.size() > longestEntryName) {
    std::size_t length = longestEntryName - ending.size();
    while (length > 0 && isContinuationByte(name[length])) --length;
    name = name.substr(0, length);
  }
  return std::string{output.substr(0, start)}.append(name).append(ending);
}

std::uint32_t freshTemporaryTag() {
  static std::mt19937 generator{std::random_device{}() ^ platform::processId()};
  return static_cast<std::uint32_t>(generator());
}

std::optional<TemporaryOwner> temporaryNameOwner(std::string_view output, std::string_view entry) {
  if (!entry.ends_with(temporaryEnding)) return std::nullopt;
  const std::string_view rest = entry.substr(0, entry.size() - temporaryEnding.size());
  const std::size_t part = rest.rfind(programPart);
  if (part == std::string_view::npos) return std::nullopt;
  const std::string_view numbers = rest.substr(part + programPart.size());
  const std::size_t dash = numbers.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const auto processId = decimalValue(numbers.substr(0, dash));
  const auto tag = hexValue(numbers.substr(dash + 1));
  if (!processId || !tag) return std::nullopt;
  const TemporaryOwner owner{*processId, *tag};
  // Only the very name a run would have made counts: nothing else is touched.
  if (temporaryName(output.substr(nameStart(output)), owner) != entry) return std::nullopt;
  return owner;
}

bool beginsAsAnOutput(std::string_view start) {
  if (start.starts_with(byteOrderMark)) start.remove_prefix(byteOrderMark.size());
  if (start.empty() || start.front() == '#') return true;
  const std::size_t common = std::min(start.size(), pictureStart.size());
  return start.substr(0, common) == pictureStart.substr(0, common);
}

StaleTemporaries removeStaleTemporaries(const std::string& output) {
  const std::string folder = folderOf(output);
  StaleTemporaries found;
  for (const std::string& entry : platform::folderEntries(folder)) {
    const auto owner = temporaryNameOwner(output, entry);
    if (!owner || owner->processId == platform::processId() ||
        platform::processAlive(owner->processId)) {
      continue;
    }
    const std::string path = folder + entry;
    const auto start = platform::soleFileStart(path, telltaleBytes);
    if (start && beginsAsAnOutput(*start) && platform::removeFile(path) == 0) {
      found.removed.push_back(path);
    } else {
      found.left.push_back(path);
    }
  }
  return found;
}

std::string removedTemporaryNote(const std::string& removed) {
  return diagnostics::shownName(removed) +
         ": note: removed: a temporary file left by a run of varistellar that was stopped";
}

std::string leftTemporaryNote(const std::string& left) {
  return diagnostics::shownName(left) +
         ": note: left where it is: named like a temporary file of varistellar, but not one that "
         "varistellar can tell is its own (a link, or contents it does not write)";
}

}  // namespace varistellar::outputs
