// Text and integer fields, field layouts and the text field on input.
#include "textio/fields.h"

#include <algorithm>
#include <cstring>

namespace varistellar::textio {

namespace {

// The columns of a text field of width w (0: the value's own length).
std::size_t textFieldColumns(std::string_view value, int width) {
  return width == 0 ? value.size() : static_cast<std::size_t>(width);
}

// Writes a text value into its field, whose `columns` bytes are blanks: a
// shorter value stands at the right end, a longer one is cut.
void placeText(std::string_view value, std::size_t columns, char* field) {
  if (columns < value.size()) {
    std::memcpy(field, value.data(), columns);
  } else if (!value.empty()) {
    std::memcpy(field + (columns - value.size()), value.data(), value.size());
  }
}

}  // namespace

void formatTextField(std::string_view value, int width, std::string& out) {
  if (width < 0) return;
  const std::size_t start = out.size();
  const std::size_t columns = textFieldColumns(value, width);
  out.resize(start + columns, ' ');
  placeText(value, columns, out.data() + start);
}

void formatIntegerField(std::int32_t value, int width, char* out) {
  if (width <= 0) return;
  // Digits from the right; the magnitude is unsigned so that -2147483648 works.
  char text[11];
  char* const end = text + sizeof text;
  char* first = end;
  std::uint32_t magnitude =
      value < 0 ? 0U - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--first = '-';

  const auto length = static_cast<int>(end - first);
  if (length > width) {
    std::memset(out, '*', static_cast<std::size_t>(width));
    return;
  }
  std::memset(out, ' ', static_cast<std::size_t>(width - length));
  std::memcpy(out + (width - length), first, static_cast<std::size_t>(length));
}

namespace {

// An output record under construction. Columns only move to the right, so a
// field always starts at or beyond the end of what is written: the columns a
// blank field passed over become blanks once something is written after them.
class LayoutWriter {
 public:
  LayoutWriter(std::span<const FieldValue> values, std::string& record)
      : values_{values}, record_{record} {}

  // False when a data field found no value left: the line ends there.
  bool process(std::span<const LayoutItem> layout) {
    for (const LayoutItem& item : layout) {
      switch (item.kind) {
        case LayoutItem::Kind::blank:
          column_ += static_cast<std::size_t>(std::max(item.width, 0));
          break;
        case LayoutItem::Kind::literal: append(item.literal); break;
        case LayoutItem::Kind::group:
          for (int repetition = 0; repetition < item.repeat; ++repetition) {
            if (!process(item.items)) return false;
          }
          break;
        case LayoutItem::Kind::text:
        case LayoutItem::Kind::fixedPoint:
        case LayoutItem::Kind::integer:
          if (next_ == values_.size()) return false;
          writeDataField(item, values_[next_++]);
          break;
      }
    }
    return true;
  }

 private:
  // A value of another kind than its field cannot be written there: the
  // field is filled with asterisks, as for a value that does not fit.
  void writeDataField(const LayoutItem& item, const FieldValue& value) {
    if (item.kind == LayoutItem::Kind::text) {
      if (const auto* text = std::get_if<std::string_view>(&value)) {
        writeText(*text, item.width);
      } else {
        std::fill_n(reserve(item.width), std::max(item.width, 0), '*');
      }
    } else if (item.kind == LayoutItem::Kind::fixedPoint) {
      if (const auto* real = std::get_if<double>(&value)) {
        formatFixedField(*real, item.width, item.digits, reserve(item.width));
      } else {
        std::fill_n(reserve(item.width), std::max(item.width, 0), '*');
      }
    } else if (const auto* integer = std::get_if<std::int32_t>(&value)) {
      formatIntegerField(*integer, item.width, reserve(item.width));
    } else {
      std::fill_n(reserve(item.width), std::max(item.width, 0), '*');
    }
  }

  // A text field written in place: the reserved columns are blanks already,
  // so only the value's bytes are copied, at the field's right end.
  void writeText(std::string_view text, int width) {
    if (width < 0) return;
    const std::size_t columns = textFieldColumns(text, width);
    placeText(text, columns, reserve(columns));
  }

  // Makes room for `width` bytes at the current column, moves the column past
  // them and returns where they go. Every byte of the record is a blank until
  // written, so the room and any columns a blank field passed over before it
  // read as blanks.
  char* reserve(int width) { return reserve(static_cast<std::size_t>(std::max(width, 0))); }
  char* reserve(std::size_t columns) {
    const std::size_t end = column_ + columns;
    if (end > record_.size()) record_.resize(std::max(end, 2 * record_.size()), ' ');
    char* const start = record_.data() + column_;
    column_ = end;
    length_ = end;  // columns only move right: this is the highest written
    return start;
  }

  void append(std::string_view text) {
    char* const field = reserve(text.size());
    if (!text.empty()) std::memcpy(field, text.data(), text.size());
  }

  std::span<const FieldValue> values_;
  std::size_t next_ = 0;
  std::string& record_;
  std::size_t column_ = 0;
  std::size_t length_ = 0;

 public:
  [[nodiscard]] std::size_t length() const { return length_; }
};

}  // namespace

void buildLayoutRecord(std::span<const LayoutItem> layout, std::span<const FieldValue> values,
                       std::string& record) {
  // The record is filled with blanks ahead and cut to the columns written at
  // the end, so fields need not pad it as they go.
  constexpr std::size_t initialRoom = 128;
  record.clear();
  record.resize(std::max(record.capacity(), initialRoom), ' ');
  LayoutWriter writer{values, record};
  writer.process(layout);
  record.resize(writer.length());
}

void rewriteFixedField(const PlacedField& placed, double value, std::string& record) {
  const auto width = static_cast<std::size_t>(placed.field.width);
  if (placed.column + width > record.size()) return;
  formatFixedField(value, placed.field.width, placed.field.digits, record.data() + placed.column);
}

void takeTextField(InputRecord& record, int width, std::span<char> variable) {
  const std::size_t length = variable.size();
  const std::size_t fieldWidth = width > 0 ? static_cast<std::size_t>(width) : length;
  // The field as if the line were padded with blanks: byte `i` of the field.
  const std::size_t start = record.column;
  const auto fieldByte = [&](std::size_t i) {
    return start < record.line.size() && i < record.line.size() - start ? record.line[start + i]
                                                                        : ' ';
  };
  // A field wider than the variable gives its last L bytes; a narrower one is
  // padded with blanks on the right.
  const std::size_t skipped = fieldWidth > length ? fieldWidth - length : 0;
  for (std::size_t i = 0; i < length; ++i) {
    variable[i] = i + skipped < fieldWidth ? fieldByte(i + skipped) : ' ';
  }
  record.column = start + fieldWidth;
}

}  // namespace varistellar::textio
