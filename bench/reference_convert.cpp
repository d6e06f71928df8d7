// The yardstick for `varistellar convert`: the same report from the same
// night with as little as possible in between. Numbers are read with
// std::from_chars and written with std::to_chars, input and output move in
// blocks of 1 MiB, and the report goes through the same system calls as
// convert's (a new file beside it, made durable, renamed into place), so
// that the two differ only in the work done per line.
//   reference_convert [FOLDER]
// It checks nothing a well-formed night does not need: a line that is not ten
// numbers ends it with status 1.
#include <array>
#include <charconv>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "version_number.h"

namespace {

namespace platform = varistellar::platform;

constexpr std::size_t blockSize = std::size_t{1} << 20;
// Longer than any record, so that a record always fits behind the block.
constexpr std::size_t recordRoom = 4096;

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string{text.substr(first, text.find_last_not_of(" \t") - first + 1)};
}

// Lines 5 to 12 of the parameter file, trimmed; false when it has fewer.
bool readParameters(const std::string& file, std::array<std::string, 8>& values) {
  const platform::OpenResult opened = platform::openForReading(file);
  if (opened.error != 0) return false;
  std::string text;
  std::array<char, 4096> chunk{};
  for (;;) {
    const platform::TransferResult read = platform::readSome(opened.handle, chunk);
    if (read.error != 0) return false;
    if (read.bytes == 0) break;
    text.append(chunk.data(), read.bytes);
  }
  (void)platform::closeFile(opened.handle);
  std::size_t lineNumber = 0;
  std::size_t found = 0;
  for (std::size_t start = 0; start < text.size() && found < values.size(); ++lineNumber) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line{text.data() + start, end - start};
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (lineNumber >= 4) values[found++] = trimmed(line);
    start = end + 1;
  }
  return found == values.size();
}

class Output {
 public:
  explicit Output(platform::Handle handle) : handle_{handle}, buffer_{new char[blockSize]} {}

  // Room for one record at the end of the buffer, written out first when
  // the buffer is nearly full.
  char* room() {
    if (used_ > blockSize - recordRoom) flush();
    return buffer_.get() + used_;
  }
  void advance(char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  void append(std::string_view text) {
    char* out = room();
    text.copy(out, text.size());
    advance(out + text.size());
  }
  bool flush() {
    const auto written = platform::writeAll(handle_, {buffer_.get(), used_});
    used_ = 0;
    failed_ = failed_ || written.error != 0;
    return !failed_;
  }
  [[nodiscard]] bool failed() const { return failed_; }

 private:
  platform::Handle handle_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

char* put(char* out, std::string_view text) { return out + text.copy(out, text.size()); }

char* putFixed(char* out, double value, int digits) {
  return std::to_chars(out, out + 32, value, std::chars_format::fixed, digits).ptr;
}

bool isSeparator(char byte) { return byte == ' ' || byte == '\t'; }

// The ten values of one observation line; -1 when it is blank, 0 when it is
// not ten numbers, 1 when they are read.
int readValues(const char* position, const char* end, std::array<double, 10>& values) {
  std::size_t count = 0;
  for (;;) {
    while (position != end && isSeparator(*position)) ++position;
    if (position == end) break;
    if (count == values.size()) return 0;
    const auto read = std::from_chars(position, end, values[count++]);
    if (read.ec != std::errc{} || (read.ptr != end && !isSeparator(*read.ptr))) return 0;
    position = read.ptr;
  }
  if (count == 0) return -1;
  return count == values.size() ? 1 : 0;
}

// The fixed text between the fields of every record.
struct RecordTexts {
  std::string starId;     // "STARID,"
  std::string afterMerr;  // ",FILT,NO,STD,CNAME,na,KNAME,na,"
  std::string tail;       // ",na,CHART,na\r\n"
};

bool convertLine(std::string_view line, const RecordTexts& texts, double comparisonMagnitude,
                 Output& output) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  std::array<double, 10> values{};
  const int read = readValues(line.data(), line.data() + line.size(), values);
  if (read < 0) return true;
  if (read == 0) return false;
  if (values[1] > 90.0) return true;  // V-C of an unmeasured variable
  char* out = output.room();
  char* const start = out;
  out = put(out, texts.starId);
  out = putFixed(out, values[0], 5);
  *out++ = ',';
  out = putFixed(out, values[1] + comparisonMagnitude, 3);
  *out++ = ',';
  char* const merr = out;
  out = putFixed(out, values[2], 3);
  double writtenMerr = 0.0;
  (void)std::from_chars(merr, out, writtenMerr);
  if (writtenMerr >= 1.0) {  // the AAVSO takes no MERR of 1.0 or more
    output.advance(start);
    return true;
  }
  out = put(out, texts.afterMerr);
  out = putFixed(out, values[8], 3);
  out = put(out, texts.tail);
  output.advance(out);
  return true;
}

int convert(const std::string& folder) {
  std::array<std::string, 8> parameters;  // code, star, comp, comp mag, filter, chart, check, mag
  if (!readParameters(folder + "/VARISTELLAR-input.txt", parameters)) return 1;
  double comparisonMagnitude = 0.0;
  const std::string& magnitudeText = parameters[3];
  if (std::from_chars(magnitudeText.data(), magnitudeText.data() + magnitudeText.size(),
                      comparisonMagnitude)
          .ec != std::errc{}) {
    return 1;
  }
  const auto orNa = [](const std::string& text) { return text.empty() ? std::string{"na"} : text; };
  const RecordTexts texts{
      parameters[1] + ",",
      "," + parameters[4] + ",NO,STD," + parameters[2] + ",na," + orNa(parameters[6]) + ",na,",
      ",na," + orNa(parameters[5]) + ",na\r\n"};

  const platform::OpenResult table = platform::openForReading(folder + "/lightcurve.txt");
  if (table.error != 0) return 1;
  const std::string reportFile = folder + "/lightcurve-aavso.txt";
  const std::string temporaryFile = reportFile + ".reference.tmp";
  (void)platform::removeFile(temporaryFile);
  const platform::OpenResult report = platform::createExclusive(temporaryFile);
  if (report.error != 0) return 1;

  Output output{report.handle};
  for (const std::string_view header :
       {"#TYPE=Extended\r\n", "#OBSCODE=", parameters[0].c_str(), "\r\n",
        "#SOFTWARE=MAGNIVEX via VARISTELLAR " VARISTELLAR_VERSION "\r\n",
        "#DELIM=,\r\n#DATE=HJD\r\n#OBSTYPE=CCD\r\n",
        "#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,"
        "NOTES\r\n"}) {
    output.append(header);
  }

  // A block of input after the unfinished line the last one ended with.
  const std::unique_ptr<char[]> input{new char[2 * blockSize]};
  std::size_t kept = 0;
  std::size_t lineNumber = 0;
  bool good = true;
  for (bool end = false; !end && good;) {
    const platform::TransferResult read =
        platform::readSome(table.handle, {input.get() + kept, blockSize});
    if (read.error != 0) return 1;
    end = read.bytes == 0;
    const std::string_view bytes{input.get(), kept + read.bytes};
    std::size_t start = 0;
    for (;;) {
      std::size_t stop = bytes.find('\n', start);
      if (stop == std::string_view::npos) {
        if (!end || start == bytes.size()) break;
        stop = bytes.size();
      }
      if (++lineNumber > 2) {
        good = good &&
               convertLine(bytes.substr(start, stop - start), texts, comparisonMagnitude, output);
      }
      start = stop + 1;
      if (start >= bytes.size()) break;
    }
    kept = start < bytes.size() ? bytes.size() - start : 0;
    if (kept > blockSize) return 1;  // a line longer than a block
    bytes.substr(bytes.size() - kept).copy(input.get(), kept);
  }
  (void)platform::closeFile(table.handle);
  if (!good || !output.flush()) return 1;
  if (platform::flushToDisk(report.handle) != 0 || platform::closeFile(report.handle) != 0)
    return 1;
  return platform::replaceFile(temporaryFile, reportFile) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return convert(argc > 1 ? argv[1] : "."); }
