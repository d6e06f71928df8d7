// The checker's text helpers.
#include "check/text.h"

#include <algorithm>

namespace varistellar::check {
namespace {
bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }
}  // namespace

bool isInteger(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), isDigit);
}

}  // namespace varistellar::check
