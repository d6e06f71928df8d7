// The free-form read of reals: a scanner over records that finds values, null
// values, the slash and repeat counts, and the conversion of one value text.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

#include "textio/bit_pattern.h"
#include "textio/fields.h"
#include "textio/power_of_ten.h"

namespace varistellar::textio {

namespace {

constexpr bool isDigit(char byte) { return byte >= '0' && byte <= '9'; }
// The value of a digit byte; above 9 for any other byte.
constexpr unsigned digitValue(char byte) {
  return static_cast<unsigned char>(byte) - unsigned{'0'};
}

// What a byte means to the scanner; most bytes are part of a value text.
enum class ByteClass : std::uint8_t { plain, blank, comma, slash, star };

constexpr std::array<ByteClass, 256> byteClasses = [] {
  std::array<ByteClass, 256> table{};
  table[' '] = table['\t'] = ByteClass::blank;
  table[','] = ByteClass::comma;
  table['/'] = ByteClass::slash;
  table['*'] = ByteClass::star;
  return table;
}();

constexpr ByteClass classOf(char byte) { return byteClasses[static_cast<unsigned char>(byte)]; }
constexpr bool isBlank(char byte) { return classOf(byte) == ByteClass::blank; }

// Bytes a value text may hold after its sign, unless it is a word.
constexpr std::array<bool, 256> numericBytes = [] {
  std::array<bool, 256> table{};
  for (const char byte : std::string_view{"0123456789+-.EeDdQq"}) {
    table[static_cast<unsigned char>(byte)] = true;
  }
  return table;
}();

// The mantissa gathered so far: M and the decimal exponent e it carries.
struct Mantissa {
  // 10 * M + digit fits in 64 bits for every digit while M is below this; at
  // exactly this M only digits up to 5 fit. Above it, either the upper 32
  // bits of M exceed 0x19999999 or 10 * M wraps: no digit fits.
  static constexpr std::uint64_t limit = std::numeric_limits<std::uint64_t>::max() / 10;

  std::uint64_t value = 0;
  std::int64_t exponent = 0;
  // Once one digit did not fit, no later digit is gathered either.
  bool full = false;

  bool gather(unsigned digit) {
    // Below the limit M cannot be full: a digit fails only at or above it.
    if (value < limit || (!full && value == limit && digit <= 5)) {
      value = value * 10 + digit;
      return true;
    }
    full = true;
    return false;
  }
};

constexpr std::int32_t exponentLimit = 999999;

double scaleByPowerOfTen(double value, std::int64_t exponent, bool up) {
  const auto n = static_cast<unsigned>(
      std::min<std::int64_t>(exponent, std::numeric_limits<std::int32_t>::max()));
  const double power = detail::lookUpPowerOfTen(n);
  return up ? value * power : value / power;
}

// The mantissa of a value text, and the byte after it.
struct MantissaScan {
  Mantissa mantissa;
  const char* stop = nullptr;
};

// Gathers a run of digits into `gathered` (wrapping past 64 bits, which the
// caller checks by counting digits) and gives the byte after the run. Four
// digits at a time while four bytes are left, then one at a time.
const char* gatherDigits(const char* position, const char* const end, std::uint64_t& gathered) {
  if constexpr (std::endian::native == std::endian::little) {
    while (end - position >= 4) {
      std::uint32_t chunk = 0;
      std::memcpy(&chunk, position, sizeof chunk);
      // Every byte lies in '0'..'9' exactly when its high nibble is 3 both as
      // it is and with 6 added.
      if ((chunk & 0xF0F0F0F0U) != 0x30303030U ||
          ((chunk + 0x06060606U) & 0xF0F0F0F0U) != 0x30303030U) {
        break;
      }
      // The first byte is the lowest: pair the digits, then the pairs.
      std::uint32_t digits = chunk - 0x30303030U;
      digits = (digits * 10 + (digits >> 8)) & 0x00FF00FFU;
      digits = (digits * 100 + (digits >> 16)) & 0x0000FFFFU;
      gathered = gathered * 10000 + digits;
      position += 4;
    }
  }
  for (unsigned digit = 0; position != end && (digit = digitValue(*position)) <= 9; ++position) {
    gathered = gathered * 10 + digit;
  }
  return position;
}

MantissaScan scanMantissa(const char* position, const char* const end) {
  // The mantissa in one pass: M gathers every digit. Fraction zeros count only
  // when a non-zero digit follows them, so the zeros that end the fraction
  // are taken out of M again afterwards (exactly: they were gathered as
  // zeros). Up to 19 digits always fit in 64 bits; a longer mantissa is
  // gathered again below, digit by digit.
  const char* const integerBegin = position;
  std::uint64_t gathered = 0;
  position = gatherDigits(position, end, gathered);
  const char* const integerEnd = position;
  const char* fractionBegin = position;
  if (position != end && *position == '.') {
    fractionBegin = ++position;
    position = gatherDigits(position, end, gathered);
  }
  const char* fractionEnd = position;  // just after the last non-zero fraction digit
  while (fractionEnd != fractionBegin && fractionEnd[-1] == '0') --fractionEnd;

  MantissaScan scanned;
  Mantissa& mantissa = scanned.mantissa;
  const auto digitCount = (integerEnd - integerBegin) + (position - fractionBegin);
  if (digitCount <= 19) {
    for (const char* zero = fractionEnd; zero != position; ++zero) gathered /= 10;
    mantissa.value = gathered;
    mantissa.exponent = -(fractionEnd - fractionBegin);
  } else {
    // Integer digits that no longer fit scale by ten instead; fraction digits
    // that no longer fit are dropped.
    for (const char* digit = integerBegin; digit != integerEnd; ++digit) {
      if (!mantissa.gather(static_cast<unsigned>(*digit - '0'))) ++mantissa.exponent;
    }
    for (const char* digit = fractionBegin; digit != fractionEnd; ++digit) {
      if (mantissa.gather(static_cast<unsigned>(*digit - '0'))) --mantissa.exponent;
    }
  }

  scanned.stop = position;
  return scanned;
}

// The value of a mantissa M with its exponent e, times 10^exponent.
double finishConversion(const Mantissa& mantissa, std::int64_t exponent, bool negative) {
  // Zero stays zero whatever the exponent ("0e999" is not 0 x infinity).
  if (mantissa.value == 0) return negative ? -0.0 : 0.0;

  // Keep the 53 most significant bits of M, cut off, so that the conversion
  // to double is exact.
  const int dropped = std::max(0, 64 - std::countl_zero(mantissa.value) - 53);
  double value = static_cast<double>(mantissa.value >> dropped << dropped);

  std::int64_t total = mantissa.exponent + exponent;
  if (total < -307) {
    // Two steps, so that 10^-total itself need not be representable.
    value = scaleByPowerOfTen(value, -total - 307, false);
    total = -307;
  }
  if (total > 0) {
    value = scaleByPowerOfTen(value, total, true);
  } else if (total < 0) {
    value = scaleByPowerOfTen(value, -total, false);
  }
  return negative ? -value : value;
}

// A value text that is a plain decimal number, an optional sign, digits and a
// point, ended by a separator or the end of the line: the common case, read
// straight from the line. Anything else gives nothing, and the value text is
// then found and converted in full.
struct PlainNumber {
  double value = 0.0;
  const char* stop = nullptr;  // the separator after it, or the end of the line
};

std::optional<PlainNumber> convertPlainNumber(const char* position, const char* const end) {
  const bool negative = position != end && *position == '-';
  if (position != end && (*position == '+' || *position == '-')) ++position;
  const MantissaScan scanned = scanMantissa(position, end);
  if (scanned.stop != end) {
    const ByteClass after = classOf(*scanned.stop);
    if (after != ByteClass::blank && after != ByteClass::comma && after != ByteClass::slash) {
      return std::nullopt;
    }
  }
  return PlainNumber{finishConversion(scanned.mantissa, 0, negative), scanned.stop};
}

// What the scanner found for the next variable.
struct ScannedItem {
  enum class Kind { value, number, null, repeatCount, endOfFile };
  Kind kind = Kind::null;
  std::string_view text{};  // value: the value text; repeat count: the bytes before '*'
  double number = 0.0;      // number: a value text already converted
};

// Scans one statement's records. It takes a further record whenever it meets
// the end of a line while a value is still wanted.
class FreeFormScanner {
 public:
  FreeFormScanner(InputRecord& record, RecordSource& source) : record_{record}, source_{source} {}

  // The next value, null value or repeat count. A repeat count "r*" ends no
  // value: it consumes no separator and leaves the line-end flag as it was.
  // The value after it is scanned with `allowRepeatCount` false, so that a
  // further '*' is an ordinary byte of the value text.
  ScannedItem scan(bool allowRepeatCount) {
    for (;;) {
      skipBlanks();
      const std::string_view line = record_.line;
      std::size_t& column = record_.column;
      if (column >= line.size()) {
        if (!source_.nextRecord(record_)) return {ScannedItem::Kind::endOfFile};
        continue;
      }
      if (line[column] == '/') {
        // Subtle: the slash stays in place, so every later variable meets it
        // too and gets a null value.
        return {ScannedItem::Kind::null};
      }
      if (line[column] == ',') {
        ++column;
        if (!lineEnded_) return {ScannedItem::Kind::null};
        // This comma separates the value that ended the line before. Scanning
        // goes on after it, across line ends too, so a comma alone on its
        // line is just that separator.
        lineEnded_ = false;
        continue;
      }
      const char* const lineEnd = line.data() + line.size();
      if (const auto plain = convertPlainNumber(line.data() + column, lineEnd)) {
        column = static_cast<std::size_t>(plain->stop - line.data());
        endValue(line);
        return {ScannedItem::Kind::number, {}, plain->value};
      }
      const std::size_t start = column;
      for (; column < line.size(); ++column) {
        const ByteClass byteClass = classOf(line[column]);
        if (byteClass == ByteClass::plain) continue;
        if (byteClass != ByteClass::star) break;
        if (allowRepeatCount && column > start) {
          ++column;
          return {ScannedItem::Kind::repeatCount, line.substr(start, column - 1 - start)};
        }
      }
      const std::string_view text = line.substr(start, column - start);
      endValue(line);
      return {ScannedItem::Kind::value, text};
    }
  }

 private:
  void skipBlanks() {
    while (record_.column < record_.line.size() && isBlank(record_.line[record_.column])) {
      ++record_.column;
    }
  }

  // Consumes the separator after a value text: a comma, or blanks and TABs
  // with at most one comma after them. A slash stays in place.
  void endValue(std::string_view line) {
    std::size_t& column = record_.column;
    if (column == line.size()) {
      lineEnded_ = true;
    } else if (line[column] == ',') {
      ++column;
    } else if (line[column] != '/') {
      skipBlanks();
      if (column < line.size() && line[column] == ',') ++column;
    }
  }

  InputRecord& record_;
  RecordSource& source_;
  // Set when a value text ended at the end of its line; cleared only by the
  // comma it absorbs, so that "1" at a line's end and ",2" on the next line
  // read as 1 and 2, without a null value between them.
  bool lineEnded_ = false;
};

// The r of "r*": decimal digits making at least 1, saturated at the largest
// int32. Anything else is not a repeat count; the statement then fails as for
// an illegal character. Zero means no valid count.
std::int32_t parseRepeatCount(std::string_view text) {
  std::int64_t count = 0;
  for (const char byte : text) {
    if (!isDigit(byte)) return 0;
    count =
        std::min<std::int64_t>(count * 10 + (byte - '0'), std::numeric_limits<std::int32_t>::max());
  }
  return static_cast<std::int32_t>(count);
}

}  // namespace

FreeFormStatus readFreeFormReals(InputRecord& record, RecordSource& source,
                                 std::span<double* const> variables) {
  FreeFormScanner scanner{record, source};
  // The value of the last "r*", still owed to `owed` more variables.
  std::int32_t owed = 0;
  bool repeatedIsNull = false;
  double repeatedValue = 0.0;
  for (double* const variable : variables) {
    if (owed > 0) {
      --owed;
      if (!repeatedIsNull) *variable = repeatedValue;
      continue;
    }
    ScannedItem item = scanner.scan(true);
    std::int32_t count = 1;
    if (item.kind == ScannedItem::Kind::repeatCount) {
      count = parseRepeatCount(item.text);
      if (count == 0) return FreeFormStatus::illegalCharacter;
      item = scanner.scan(false);
    }
    if (item.kind == ScannedItem::Kind::endOfFile) return FreeFormStatus::endOfFile;
    repeatedIsNull = item.kind == ScannedItem::Kind::null;
    if (item.kind == ScannedItem::Kind::number) {
      repeatedValue = item.number;
      *variable = repeatedValue;
    } else if (!repeatedIsNull) {
      const RealConversion conversion = convertRealText(item.text);
      if (!conversion.ok) return FreeFormStatus::illegalCharacter;
      repeatedValue = conversion.value;
      *variable = repeatedValue;
    }
    owed = count - 1;
  }
  return FreeFormStatus::ok;
}

RealConversion convertRealText(std::string_view text) {
  const char* position = text.data();
  const char* const end = position + text.size();
  const bool negative = position != end && *position == '-';
  if (position != end && (*position == '+' || *position == '-')) ++position;

  // Words: only their first byte counts, so "Inf", "index", "NaN" and "Name" all pass.
  if (position != end && (*position == 'I' || *position == 'i')) {
    const double infinity = std::numeric_limits<double>::infinity();
    return {negative ? -infinity : infinity, true};
  }
  if (position != end && (*position == 'N' || *position == 'n')) {
    constexpr std::uint64_t notANumber = 0x7FFF0000FFFFFFFF;
    constexpr std::uint64_t signBit = std::uint64_t{1} << 63;
    return {doubleFromBits(negative ? notANumber | signBit : notANumber), true};
  }

  const MantissaScan scanned = scanMantissa(position, end);
  position = scanned.stop;

  // An exponent letter may be left out: a sign right after the mantissa
  // starts the exponent too ("1.5-3"). Whatever follows its digits is ignored.
  if (position != end &&
      (*position == 'E' || *position == 'e' || *position == 'D' || *position == 'd')) {
    ++position;
  }
  bool negativeExponent = false;
  if (position != end && (*position == '+' || *position == '-')) {
    negativeExponent = *position == '-';
    ++position;
  }
  std::int32_t exponent = 0;
  for (; position != end && isDigit(*position); ++position) {
    exponent = std::min(exponent * 10 + (*position - '0'), exponentLimit);
  }
  // What the number ends with is ignored, but its bytes must pass the check
  // too; every byte taken so far was a digit, a sign, a point or a letter.
  for (; position != end; ++position) {
    if (!numericBytes[static_cast<unsigned char>(*position)]) return {0.0, false};
  }

  return {finishConversion(scanned.mantissa, negativeExponent ? -exponent : exponent, negative),
          true};
}

PlainDecimalPrefix readPlainDecimalPrefix(std::string_view text) {
  const char* position = text.data();
  const char* const end = position + text.size();
  const bool negative = position != end && *position == '-';
  if (position != end && (*position == '+' || *position == '-')) ++position;
  const MantissaScan scanned = scanMantissa(position, end);
  // The mantissa is digits with at most one point: one byte of it is a digit
  // unless it is the point alone.
  const auto taken = scanned.stop - position;
  const bool hasDigit = taken > 1 || (taken == 1 && *position != '.');
  if (!hasDigit) return {};
  // A plain number has no exponent: convertRealText ends here with the same
  // mantissa and no scaling of its own.
  return {finishConversion(scanned.mantissa, 0, negative),
          static_cast<std::size_t>(scanned.stop - text.data()), true};
}

}  // namespace varistellar::textio
