// The aperture lines, read strictly.
#include "night/aperture_lines.h"

#include <algorithm>
#include <array>

#include "aeff/plain_decimal.h"
#include "diagnostics/quoted.h"

namespace varistellar::night {
namespace {

bool isBlank(char byte) { return byte == ' ' || byte == '\t'; }

char upper(char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
}

std::string upperCase(std::string_view text) {
  std::string result{text};
  std::transform(result.begin(), result.end(), result.begin(), upper);
  return result;
}

// At most four words: one more than a line may hold, to tell that it holds too many.
struct Words {
  std::array<std::string_view, 4> words{};
  std::size_t count = 0;
};

Words wordsOf(std::string_view text) {
  Words words;
  for (std::size_t i = 0; i < text.size() && words.count < words.words.size();) {
    if (isBlank(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && !isBlank(text[end])) ++end;
    words.words[words.count++] = text.substr(i, end - i);
    i = end;
  }
  return words;
}

constexpr std::string_view usage =
    "an aperture line is `target T1`, `check T2` or `comparison C2 12.345` (an aperture of the "
    "AstroImageJ table, and a comparison star's catalogue magnitude)";

ApertureLineFault fault(std::string text) { return {std::move(text.append("; ").append(usage))}; }

}  // namespace

bool isApertureName(std::string_view text) {
  if (text.size() < 2 || (upper(text[0]) != 'T' && upper(text[0]) != 'C') || text[1] == '0') {
    return false;
  }
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return text.size() <= 6;
}

ApertureLineReading readApertureLine(std::string_view text, std::uint64_t line) {
  const Words words = wordsOf(text);
  if (words.count == 0 || words.words[0].starts_with('#')) return NoApertureLine{};
  const std::string role = upperCase(words.words[0]);
  ApertureLine aperture;
  aperture.line = line;
  std::size_t wanted = 2;
  if (role == "TARGET") {
    aperture.role = ApertureLine::Role::target;
  } else if (role == "CHECK") {
    aperture.role = ApertureLine::Role::check;
  } else if (role == "COMPARISON") {
    aperture.role = ApertureLine::Role::comparison;
    wanted = 3;
  } else {
    return fault(diagnostics::quoted(words.words[0]) + " is not target, check or comparison");
  }
  if (words.count != wanted) {
    return fault("the line holds " + std::to_string(words.count) +
                 (words.count == words.words.size() ? " or more words" : " words") + ", not " +
                 std::to_string(wanted));
  }
  if (!isApertureName(words.words[1])) {
    return fault(diagnostics::quoted(words.words[1]) + " is not an aperture such as T1 or C2");
  }
  aperture.aperture = upperCase(words.words[1]);
  if (wanted == 3) {
    const std::optional<double> magnitude = aeff::readPlainDecimal(words.words[2]);
    if (!magnitude) {
      return fault("the magnitude " + diagnostics::quoted(words.words[2]) +
                   " is not a plain decimal number such as 12.345");
    }
    aperture.magnitude = *magnitude;
  }
  return aperture;
}

}  // namespace varistellar::night
