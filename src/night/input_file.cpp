// Opening convert's input files.
#include "night/input_file.h"

#include "platform/platform.h"
#include "textio/line_files.h"
#include "textio/text_kind.h"

namespace varistellar::night {

std::optional<std::string> unreadableAsLines(const std::string& path, textio::LineReader& reader,
                                             const InputFile& file) {
  // A folder opens on some systems and fails only at its first read; on
  // others it is refused with a message that does not say why.
  if (platform::pathKind(path) == platform::PathKind::directory) {
    return "cannot open " + std::string{file.name} + ": it is a folder, not a file";
  }
  if (!reader.opened()) {
    return "cannot open " + std::string{file.name} + ": " +
           textio::describeFailure(reader.failure());
  }
  const std::string_view beginning = reader.beginning();
  if (reader.failure().happened()) return cannotReadMessage(file, reader.failure());
  return notLinesOfText(beginning, file);
}

std::optional<std::string> notLinesOfText(std::string_view beginning, const InputFile& file) {
  switch (textio::textKindOf(beginning)) {
    case textio::TextKind::lines: return std::nullopt;
    case textio::TextKind::utf16: return std::string{textio::utf16Advice};
    case textio::TextKind::crOnly:
      return std::string{
          "the file's lines end with CR alone, as on old Macs; save it with LF or "
          "CR LF line ends"};
    case textio::TextKind::notText:
      return "it is not a text file (it holds NUL bytes): give " + std::string{file.wanted};
  }
  return std::nullopt;
}

std::string cannotReadMessage(const InputFile& file, const textio::Failure& failure) {
  return "cannot read " + std::string{file.name} + ": " + textio::describeFailure(failure);
}

std::string longLineMessage(const InputFile& file) {
  std::string text{"the line is longer than "};
  text.append(std::to_string(textio::LineReader::maxLineLength))
      .append(" bytes, so the file does not look like ")
      .append(file.kind)
      .append("; it is read no further");
  return text;
}

std::string nulByteMessage(const InputFile& file) {
  return "the line holds a NUL byte, so the file is not text: give " + std::string{file.wanted} +
         "; it is read no further";
}

std::optional<ReadingFault> readingFault(const textio::LineReader& reader, const InputFile& file) {
  if (reader.failure().happened())
    return ReadingFault{0, cannotReadMessage(file, reader.failure())};
  if (reader.stoppedAtLongLine())
    return ReadingFault{reader.lineNumber() + 1, longLineMessage(file)};
  return std::nullopt;
}

}  // namespace varistellar::night
