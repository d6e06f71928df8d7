// Text channels: records over system handles, and the statements of the run.
#include "textio/channels.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace varistellar::textio {
namespace {

constexpr std::size_t fileBufferSize = 8192;
constexpr std::size_t consoleBufferSize = 256;
constexpr std::int64_t defaultTabSize = 8;

}  // namespace

std::int64_t tabSizeFromSetting(const std::optional<std::string>& setting) {
  if (!setting || setting->empty() || setting->size() > 19) return defaultTabSize;
  std::string_view text = *setting;
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Only the leading digits count; a value that starts otherwise gives 0.
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    const std::int64_t digit = c - '0';
    value = value > (INT64_MAX - digit) / 10 ? INT64_MAX : value * 10 + digit;
  }
  if (negative && value > 0) return defaultTabSize;
  return value;
}

// ---------------------------------------------------------------- Channel

Channel::Channel(int number, platform::Handle handle, bool isDevice, bool truncateAtFirstWrite,
                 std::span<char> buffer, std::int64_t tabSize)
    : number_{number},
      handle_{handle},
      isDevice_{isDevice},
      truncateAtFirstWrite_{truncateAtFirstWrite},
      buffer_{buffer},
      tabSize_{tabSize} {}

bool Channel::appendTab(RecordBuffer& record) const {
  const auto size = static_cast<std::uint64_t>(tabSize_);
  return record.appendBlanks(static_cast<std::size_t>(size - record.length() % size));
}

std::size_t Channel::nextSpecial(std::size_t& cached, char byte) const {
  if (cached < readPos_ || cached > readFill_) {
    const void* found = std::memchr(buffer_.data() + readPos_, byte, readFill_ - readPos_);
    cached = found == nullptr
                 ? readFill_
                 : static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data());
  }
  return cached;
}

RecordResult Channel::readRecord(RecordBuffer& record) {
  record.clear();
  if (atEndOfFile_) return {RecordStatus::endOfFile};
  bool tookAnyByte = false;  // a CR counts: it still makes a final line
  for (;;) {
    if (readPos_ == readFill_) {
      const platform::TransferResult got = platform::readSome(handle_, buffer_);
      if (got.error != 0) return {RecordStatus::failed, {.systemError = got.error}};
      if (got.bytes == 0) {
        atEndOfFile_ = true;
        return {tookAnyByte ? RecordStatus::ok : RecordStatus::endOfFile};
      }
      readPos_ = 0;
      readFill_ = got.bytes;
      nextLf_ = nextCr_ = nextTab_ = unknownPosition;
    }
    tookAnyByte = true;
    // Move the plain bytes up to the next byte of meaning in one piece. Where
    // each such byte stands next is remembered, so every byte of the buffer
    // is searched once, however many CRs and TABs a line holds.
    std::size_t special = std::min(nextSpecial(nextLf_, '\n'), nextSpecial(nextCr_, '\r'));
    if (tabSize_ != 0) special = std::min(special, nextSpecial(nextTab_, '\t'));
    if (!record.append({buffer_.data() + readPos_, special - readPos_})) {
      return {RecordStatus::failed, {.ownMessage = bufferAllocationFailed}};
    }
    readPos_ = special;
    if (special == readFill_) continue;
    const char byte = buffer_[readPos_++];
    if (byte == '\n') return {RecordStatus::ok};
    if (byte == '\r') continue;
    if (!appendTab(record)) return {RecordStatus::failed, {.ownMessage = bufferAllocationFailed}};
  }
}

Failure Channel::append(std::string_view bytes) {
  while (!bytes.empty()) {
    if (writeFill_ == buffer_.size()) {
      if (const Failure failure = flush(); failure.happened()) return failure;
    }
    const std::size_t room = std::min(bytes.size(), buffer_.size() - writeFill_);
    std::memcpy(buffer_.data() + writeFill_, bytes.data(), room);
    writeFill_ += room;
    bytes.remove_prefix(room);
  }
  return {};
}

Failure Channel::writeRecord(std::string_view record) {
  if (const Failure failure = append(record); failure.happened()) return failure;
  if (const Failure failure = append("\r\n"); failure.happened()) return failure;
  if (isDevice_) return flush();
  return {};
}

Failure Channel::flush() {
  if (writeFill_ == 0) return {};
  const platform::TransferResult put =
      platform::writeAll(handle_, std::span<const char>{buffer_.data(), writeFill_});
  writeFill_ = 0;
  written_ += put.bytes;
  if (put.error != 0) return {.systemError = put.error};
  // A file that was longer before this run keeps only what the run writes;
  // one that receives no write keeps its old content.
  if (truncateAtFirstWrite_) {
    truncateAtFirstWrite_ = false;
    if (const platform::SystemError error = platform::truncateIfLonger(handle_, written_)) {
      return {.systemError = error};
    }
  }
  return {};
}

Failure Channel::close() {
  if (!open_) return {};
  open_ = false;
  const Failure flushed = flush();
  const platform::SystemError closed = platform::closeFile(handle_);
  if (flushed.happened()) return flushed;
  if (closed != 0) return {.systemError = closed};
  return {};
}

// ---------------------------------------------------------------- the channel table

namespace {

// A channel together with the storage of its buffer.
struct Connection {
  std::unique_ptr<char[]> storage;
  std::unique_ptr<Channel> channel;
};

// The state every statement shares: the open file channels in order of
// opening, the two console channels, the record buffer and the line being
// built for output.
struct ChannelTable {
  std::vector<Connection> files;
  Connection consoleInput;
  Connection consoleOutput;
  RecordBuffer record;
  std::string outputLine;
  std::int64_t tabSize = -1;  // read from TABSIZE at first use
};

ChannelTable& table() {
  static ChannelTable instance;
  return instance;
}

std::int64_t runTabSize() {
  ChannelTable& channels = table();
  if (channels.tabSize < 0)
    channels.tabSize = tabSizeFromSetting(platform::environmentVariable("TABSIZE"));
  return channels.tabSize;
}

// Makes a connection with a buffer of `size` bytes, or none when memory is out.
Connection connect(int number, platform::Handle handle, bool isDevice, bool truncateAtFirstWrite,
                   std::size_t size) {
  Connection connection;
  connection.storage.reset(new (std::nothrow) char[size]);
  if (!connection.storage) return connection;
  connection.channel.reset(new (std::nothrow) Channel{number,
                                                      handle,
                                                      isDevice,
                                                      truncateAtFirstWrite,
                                                      {connection.storage.get(), size},
                                                      runTabSize()});
  return connection;
}

std::vector<Connection>::iterator findFile(int number) {
  auto& files = table().files;
  return std::find_if(files.begin(), files.end(),
                      [number](const Connection& c) { return c.channel->number() == number; });
}

// The console channel for `channel`, made on first use, or the file channel
// of that number; null when the number is not connected.
Channel* channelFor(int channel, StatementKind statement) {
  ChannelTable& channels = table();
  if (channel == consoleChannel) {
    const bool reading = statement == StatementKind::read;
    Connection& console = reading ? channels.consoleInput : channels.consoleOutput;
    if (!console.channel) {
      const auto stream =
          reading ? platform::StandardStream::input : platform::StandardStream::output;
      console =
          connect(consoleChannel, platform::standardHandle(stream), true, false, consoleBufferSize);
      if (!console.channel) {
        reportUnhandledFailure({.ownMessage = bufferAllocationFailed}, statement, channel);
      }
    }
    return console.channel.get();
  }
  const auto found = findFile(channel);
  return found == channels.files.end() ? nullptr : found->channel.get();
}

// The one place that decides what a failure in a statement leads to.
IoOutcome dispatchFailure(const Failure& failure, Branches branches, StatementKind statement,
                          int channel) {
  if (branches.error) return IoOutcome::error;
  reportUnhandledFailure(failure, statement, channel);
}

IoOutcome dispatchEndOfFile(Branches branches, int channel) {
  if (branches.endOfFile) return IoOutcome::endOfFile;
  return dispatchFailure({.ownMessage = readPastEndOfFile}, branches, StatementKind::read, channel);
}

// Closes the file channel opened first and takes it out of the table; false
// when there is none left.
bool closeFirstFile(Failure& failure, int& number) {
  auto& files = table().files;
  if (files.empty()) return false;
  number = files.front().channel->number();
  failure = files.front().channel->close();
  files.erase(files.begin());
  return true;
}

std::string_view statementName(StatementKind statement) {
  switch (statement) {
    case StatementKind::open: return "OPEN";
    case StatementKind::close: return "CLOSE";
    case StatementKind::read: return "READ";
    case StatementKind::write: return "WRITE";
  }
  return "?";
}

// A read statement: takes the channel's first record at its start, and gives
// a free-form read the following records.
class ReadStatement final : public RecordSource {
 public:
  ReadStatement(int channel, Branches branches) : number_{channel}, branches_{branches} {
    channel_ = channelFor(channel, StatementKind::read);
    if (channel_ == nullptr) {
      result_ = {RecordStatus::endOfFile};
      return;
    }
    result_ = channel_->readRecord(record_);
  }

  [[nodiscard]] bool started() const { return result_.status == RecordStatus::ok; }
  [[nodiscard]] InputRecord firstRecord() const { return {record_.view(), 0}; }

  bool nextRecord(InputRecord& record) override {
    result_ = channel_->readRecord(record_);
    if (result_.status != RecordStatus::ok) return false;
    record = {record_.view(), 0};
    return true;
  }

  // The statement's outcome after its values were taken.
  [[nodiscard]] IoOutcome end(FreeFormStatus values = FreeFormStatus::ok) const {
    if (result_.status == RecordStatus::failed) {
      return dispatchFailure(result_.failure, branches_, StatementKind::read, number_);
    }
    if (result_.status == RecordStatus::endOfFile) return dispatchEndOfFile(branches_, number_);
    if (values == FreeFormStatus::illegalCharacter) {
      return dispatchFailure({.ownMessage = illegalNumericCharacter}, branches_,
                             StatementKind::read, number_);
    }
    return IoOutcome::ok;
  }

 private:
  int number_;
  Branches branches_;
  Channel* channel_ = nullptr;
  RecordBuffer& record_ = table().record;
  RecordResult result_{};
};

}  // namespace

// ---------------------------------------------------------------- statements

IoOutcome openChannel(int number, std::string_view fileName, Branches branches) {
  const std::string name{fileName};
  // A channel opened again is closed first, as a fresh connection.
  if (findFile(number) != table().files.end()) (void)closeChannel(number);
  const platform::OpenResult opened = platform::probeExistingFile(name)
                                          ? platform::openExistingFile(name)
                                          : platform::createEmptyFile(name);
  if (opened.error != 0) {
    return dispatchFailure({.systemError = opened.error}, branches, StatementKind::open, number);
  }
  const bool isDevice = !platform::isDiskFile(opened.handle);
  Connection connection = connect(number, opened.handle, isDevice, !isDevice, fileBufferSize);
  if (!connection.channel) {
    (void)platform::closeFile(opened.handle);
    return dispatchFailure({.ownMessage = bufferAllocationFailed}, branches, StatementKind::open,
                           number);
  }
  table().files.push_back(std::move(connection));
  return IoOutcome::ok;
}

IoOutcome closeChannel(int number) {
  const auto found = findFile(number);
  if (found == table().files.end()) return IoOutcome::ok;
  const Failure failure = found->channel->close();
  table().files.erase(found);
  if (failure.happened()) return dispatchFailure(failure, noBranches, StatementKind::close, number);
  return IoOutcome::ok;
}

IoOutcome readTextField(int channel, Branches branches, int width, std::span<char> variable) {
  const ReadStatement statement{channel, branches};
  if (statement.started()) {
    InputRecord record = statement.firstRecord();
    takeTextField(record, width, variable);
  }
  return statement.end();
}

IoOutcome readFreeForm(int channel, Branches branches, std::span<double* const> variables) {
  ReadStatement statement{channel, branches};
  if (!statement.started()) return statement.end();
  InputRecord record = statement.firstRecord();
  const FreeFormStatus values = readFreeFormReals(record, statement, variables);
  return statement.end(values);
}

IoOutcome readNothing(int channel, Branches branches) {
  const ReadStatement statement{channel, branches};
  return statement.end();
}

IoOutcome writeRecord(int channel, std::string_view record) {
  Channel* target = channelFor(channel, StatementKind::write);
  if (target == nullptr) return IoOutcome::ok;
  const Failure failure = target->writeRecord(record);
  if (failure.happened())
    return dispatchFailure(failure, noBranches, StatementKind::write, channel);
  return IoOutcome::ok;
}

IoOutcome writeLayout(int channel, std::span<const LayoutItem> layout,
                      std::span<const FieldValue> values) {
  std::string& line = table().outputLine;
  buildLayoutRecord(layout, values, line);
  return writeRecord(channel, line);
}

IoOutcome writeFreeForm(int channel, std::initializer_list<std::string_view> values) {
  std::string& line = table().outputLine;
  line.assign(1, ' ');
  for (const std::string_view value : values) line.append(value);
  return writeRecord(channel, line);
}

void pausePrompt(std::string_view prompt) {
  writeFreeForm(consoleChannel, {prompt});
  readNothing(consoleChannel, noBranches);
}

void endRun(int exitStatus) {
  Failure failure;
  int number = 0;
  while (closeFirstFile(failure, number)) {
    if (failure.happened()) reportUnhandledFailure(failure, StatementKind::close, number);
  }
  platform::exitProcess(exitStatus);
}

void reportUnhandledFailure(const Failure& failure, StatementKind statement, int channel) {
  // The files are written out and closed first; a failure there is not
  // reported over the one being reported.
  Failure ignored;
  int number = 0;
  while (closeFirstFile(ignored, number)) {
  }
  std::string report;
  if (!failure.ownMessage.empty()) {
    report.append("? Run-time error:\r\n? ").append(failure.ownMessage);
  } else {
    report.append("? System Error:\r\n? ")
        .append(platform::legacySystemMessage(failure.systemError));
  }
  report.append("\r\n? ").append(statementName(statement)).append("(UNIT=");
  report.append(channel == consoleChannel ? std::string{"*"} : std::to_string(channel));
  report.append(",...\n");
  platform::writeStandardError(report);
  platform::exitProcess(-1);
}

}  // namespace varistellar::textio
