// Field conversions: how one value becomes the text of a field, and how
// values are taken back out of a line (text fields and free-form reals).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace varistellar::textio {

// ---------------------------------------------------------------- text values

template <std::size_t N>
constexpr std::array<char, N> blankText() {
  std::array<char, N> filled{};
  filled.fill(' ');
  return filled;
}

// A fixed-length text value: N bytes, padded with blanks on the right. It is
// always written in its full width, trailing blanks included.
template <std::size_t N>
struct FixedText {
  std::array<char, N> bytes = blankText<N>();

  [[nodiscard]] constexpr std::string_view view() const { return {bytes.data(), N}; }
  [[nodiscard]] constexpr std::span<char> span() { return bytes; }
};

// ---------------------------------------------------------------- output fields

// Text field of width w (0: the value's own length). A value shorter than the
// field stands at its right end; a longer one is cut to its first w bytes.
// Appends the field to `out`.
void formatTextField(std::string_view value, int width, std::string& out);

// Fixed-point field w.d (w >= d + 2): writes exactly `width` bytes to `out`.
// Too wide a value gives `width` asterisks.
void formatFixedField(double value, int width, int digits, char* out);

// Integer field of width w: writes exactly `width` bytes to `out`.
void formatIntegerField(std::int32_t value, int width, char* out);

// ---------------------------------------------------------------- layouts

// One item of a field layout. Layouts are built once, as constant arrays of
// these, and read like the line they describe.
struct LayoutItem {
  enum class Kind { text, fixedPoint, integer, blank, literal, group };
  Kind kind = Kind::text;
  int width = 0;   // text: 0 means the value's own length; blank: columns
  int digits = 0;  // fixed-point: digits after the decimal point
  std::string_view literal{};
  std::span<const LayoutItem> items{};  // group: the repeated items
  int repeat = 0;                       // group: how often
  std::string_view name{};              // data field: what it holds, e.g. "DATE"
};

constexpr LayoutItem textField(int width = 0, std::string_view name = {}) {
  return {LayoutItem::Kind::text, width, 0, {}, {}, 0, name};
}
constexpr LayoutItem fixedField(int width, int digits, std::string_view name = {}) {
  return {LayoutItem::Kind::fixedPoint, width, digits, {}, {}, 0, name};
}
constexpr LayoutItem integerField(int width) { return {LayoutItem::Kind::integer, width}; }
constexpr LayoutItem blankField(int columns) { return {LayoutItem::Kind::blank, columns}; }
constexpr LayoutItem literalText(std::string_view text) {
  return {LayoutItem::Kind::literal, 0, 0, text};
}
constexpr LayoutItem group(int repeat, std::span<const LayoutItem> items) {
  return {LayoutItem::Kind::group, 0, 0, {}, items, repeat};
}

// The value a data field writes: a text value, an 8-byte real or a 4-byte
// integer, matching the field's kind.
using FieldValue = std::variant<std::string_view, double, std::int32_t>;

// Builds one line from a layout and its values, replacing the content of
// `record`. Processing stops at the first data field that finds no value left.
void buildLayoutRecord(std::span<const LayoutItem> layout, std::span<const FieldValue> values,
                       std::string& record);

// A data field of a layout together with the column where it starts.
struct PlacedField {
  std::size_t column = 0;
  LayoutItem field{};
};

namespace detail {
template <std::size_t N>
constexpr void placeFields(std::span<const LayoutItem> layout, std::array<PlacedField, N>& placed,
                           std::size_t& next, std::size_t& column) {
  for (const LayoutItem& item : layout) {
    switch (item.kind) {
      case LayoutItem::Kind::literal: column += item.literal.size(); break;
      case LayoutItem::Kind::blank: column += static_cast<std::size_t>(item.width); break;
      case LayoutItem::Kind::group:
        for (int repetition = 0; repetition < item.repeat; ++repetition) {
          placeFields(item.items, placed, next, column);
        }
        break;
      default:
        // A field must know its width here; a text field without one does not.
        if (item.width <= 0 || next == N) throw "a placed field needs a width and a value";
        placed[next++] = {column, item};
        column += static_cast<std::size_t>(item.width);
    }
  }
}
}  // namespace detail

// Where each of the N data fields of a layout stands in the line that
// buildLayoutRecord makes, for a layout whose every field has a width.
// Evaluated when the program is built; a layout it cannot place does not build.
template <std::size_t N>
consteval std::array<PlacedField, N> placeDataFields(std::span<const LayoutItem> layout) {
  std::array<PlacedField, N> placed{};
  std::size_t next = 0;
  std::size_t column = 0;
  detail::placeFields(layout, placed, next, column);
  if (next != N) throw "the layout has another number of data fields";
  return placed;
}

// The placed field of that name; a name the layout does not hold does not
// build.
template <std::size_t N>
consteval PlacedField placedField(const std::array<PlacedField, N>& placed, std::string_view name) {
  for (const PlacedField& field : placed) {
    // cppcheck-suppress useStlAlgorithm ; a plain loop stays usable at compile time
    if (field.field.name == name) return field;
  }
  throw "the layout has no field of that name";
}

// Writes a fixed-point value again in its placed field of a line built from
// the same layout, over what that field held before.
void rewriteFixedField(const PlacedField& placed, double value, std::string& record);

// ---------------------------------------------------------------- input

// A line being read, and the column where the next field starts.
struct InputRecord {
  std::string_view line{};
  std::size_t column = 0;
};

// Text field of width w (0: the receiving variable's length) taken from the
// record's current column into `variable`, as a fixed-length text value.
void takeTextField(InputRecord& record, int width, std::span<char> variable);

// Gives a free-form read the following line of the same channel.
class RecordSource {
 public:
  // Replaces `record` with the next line at column 0; false at end of file.
  virtual bool nextRecord(InputRecord& record) = 0;

 protected:
  ~RecordSource() = default;
};

enum class FreeFormStatus { ok, illegalCharacter, endOfFile };

// Free-form read of reals into `variables`, in order. Null values leave their
// variable unchanged; a failure leaves the variables after it unchanged.
[[nodiscard]] FreeFormStatus readFreeFormReals(InputRecord& record, RecordSource& source,
                                               std::span<double* const> variables);

struct RealConversion {
  double value = 0.0;
  bool ok = false;  // false: "Illegal character in numeric input"
};

// Converts one free-form value text to an 8-byte real.
[[nodiscard]] RealConversion convertRealText(std::string_view text);

// A plain decimal number at the start of a text (an optional sign, digits, an
// optional point and digits, at least one digit), with the value that
// convertRealText gives the same bytes, read in one pass.
struct PlainDecimalPrefix {
  double value = 0.0;
  std::size_t length = 0;  // the bytes it takes
  bool ok = false;         // false: the text does not begin with one
};
[[nodiscard]] PlainDecimalPrefix readPlainDecimalPrefix(std::string_view text);

// 10^n by square and multiply in double precision, the power both directions
// of conversion scale by. Exact for 0 <= n <= 22.
[[nodiscard]] double powerOfTen(int n);

}  // namespace varistellar::textio
