// Text and integer fields, field layouts and the text field on input.
#include "textio/fields.h"

#include <algorithm>
#include <cstring>

namespace varistellar::textio {

void formatTextField(std::string_view value, int width, std::string& out) {
  if (width == 0) {
    out.append(value);
  } else if (width > 0) {
    const auto columns = static_cast<std::size_t>(width);
    if (columns < value.size()) {
      out.append(value.substr(0, columns));
    } else {
      out.append(columns - value.size(), ' ');
      out.append(value);
    }
  }
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
        record_.resize(column_, ' ');
        formatTextField(*text, item.width, record_);
        column_ = record_.size();
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

  // Makes room for `width` bytes at the current column, moves the column past
  // them and returns where they go.
  char* reserve(int width) {
    const auto columns = static_cast<std::size_t>(std::max(width, 0));
    record_.resize(column_, ' ');
    record_.resize(column_ + columns);
    char* const start = record_.data() + column_;
    column_ += columns;
    return start;
  }

  void append(std::string_view text) {
    record_.resize(column_, ' ');
    record_.append(text);
    column_ = record_.size();
  }

  std::span<const FieldValue> values_;
  std::size_t next_ = 0;
  std::string& record_;
  std::size_t column_ = 0;
};

}  // namespace

void buildLayoutRecord(std::span<const LayoutItem> layout, std::span<const FieldValue> values,
                       std::string& record) {
  record.clear();
  LayoutWriter{values, record}.process(layout);
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
