#include "document/DataFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <istream>
#include <limits>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "document/DataFileExceptions.h"

namespace vorel {

namespace {

namespace fs = std::filesystem;

// Longest column name kept; longer names are cut.
constexpr std::size_t kMaxNameLength = 299;
// Longest data field accepted; a longer one is a reading failure.
constexpr std::size_t kMaxFieldLength = 399;

[[noreturn]] void FailReading() { throw ExceptionWrongDelimiterSelected(); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The four characters that may separate fields, whether the format makes them active or not.
bool IsDelimiterChar(char c) { return c == ';' || c == ',' || c == ' ' || c == '\t'; }

bool IsCommentLine(std::string_view line) {
  if (line.empty()) return false;
  const char c = line.front();
  return c == '#' || c == '!' || c == '@' || c == '$' || c == '%';
}

// The reading rules that follow from one InputFormat.
class FieldRules {
 public:
  explicit FieldRules(const InputFormat& format)
      : format_(format), decimalComma_(format.decimal == kDecimalComma) {}

  // True for a character that separates fields under this format. The comma is never a
  // delimiter while it is the decimal separator.
  bool IsActive(char c) const {
    switch (c) {
      case ';':
        return format_.delimSemicolon;
      case ' ':
        return format_.delimSpace;
      case '\t':
        return format_.delimTab;
      case ',':
        return format_.delimComma && !decimalComma_;
      default:
        return false;
    }
  }
  // The decimal separator of the file.
  char separator() const { return decimalComma_ ? ',' : '.'; }
  // The other one of '.' and ',', which must not appear inside a field.
  char foreign() const { return decimalComma_ ? '.' : ','; }

  // Moves pos past the active delimiters before the next field. Returns false when the line
  // ends first. A delimiter character that is not active there is a reading failure; under
  // the decimal comma a ',' is no delimiter at all and begins the field.
  bool SkipToField(std::string_view line, std::size_t& pos) const {
    while (pos < line.size() && IsDelimiterChar(line[pos])) {
      const char c = line[pos];
      if (IsActive(c)) {
        ++pos;
      } else if (c == ',' && decimalComma_) {
        break;
      } else {
        FailReading();
      }
    }
    return pos < line.size();
  }

  // The field that begins at pos: characters up to the next active delimiter or the end of
  // the line. pos moves to the end of the field.
  std::string_view TakeField(std::string_view line, std::size_t& pos) const {
    const std::size_t begin = pos;
    while (pos < line.size() && !IsActive(line[pos])) ++pos;
    return line.substr(begin, pos - begin);
  }

  // Number of fields: maximal runs of characters that are not active delimiters.
  int CountFields(std::string_view line) const {
    int count = 0;
    bool inField = false;
    for (const char c : line) {
      const bool active = IsActive(c);
      if (!active && !inField) ++count;
      inField = !active;
    }
    return count;
  }

  // True when the whole field is a number written with the file's decimal separator:
  // optional sign, digits with at most one separator (at least one digit), optional exponent
  // 'e' or 'E' with optional sign and at least one digit.
  bool IsWholeNumber(std::string_view field) const {
    std::size_t i = 0;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < field.size() && IsDigit(field[i])) ++i, ++digits;
    if (i < field.size() && field[i] == separator()) {
      ++i;
      while (i < field.size() && IsDigit(field[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
      ++i;
      if (i < field.size() && (field[i] == '+' || field[i] == '-')) ++i;
      std::size_t expDigits = 0;
      while (i < field.size() && IsDigit(field[i])) ++i, ++expDigits;
      if (expDigits == 0) return false;
    }
    return i == field.size();
  }

 private:
  InputFormat format_;
  bool decimalComma_;
};

// The decimal exponent of the leading digit of a number written as mantissa digits (with at
// most one '.') times ten to the power exponent; used only to tell an overflow from an
// underflow, so the sign is all that matters.
long long LeadingExponent(std::string_view mantissa, long long exponent) {
  long long position = 0;  // integer digits from the first nonzero one on
  bool seenNonzero = false;
  bool afterPoint = false;
  long long leadingFractionZeros = 0;
  for (const char c : mantissa) {
    if (c == '.') {
      afterPoint = true;
    } else if (!afterPoint) {
      if (c != '0') seenNonzero = true;
      if (seenNonzero) ++position;
    } else if (!seenNonzero) {
      if (c != '0') {
        seenNonzero = true;
      } else {
        ++leadingFractionZeros;
      }
    }
  }
  return (position > 0 ? position : -leadingFractionZeros) + exponent;
}

// The number at the start of text ('.' is the decimal point): optional sign, digits with at
// most one point, optional exponent. Characters after the number are ignored; 0 when no number
// stands there (then *numberless is set). A number too large for a double is a reading failure;
// one too small reads 0.
double ConvertNumber(std::string_view text, bool* numberless) {
  std::size_t i = 0;
  const bool plusSign = i < text.size() && text[i] == '+';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t mantissaBegin = i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) {
    *numberless = true;
    return 0.0;
  }
  const std::size_t mantissaEnd = i;
  std::size_t end = i;
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
    std::size_t expDigits = 0;
    while (j < text.size() && IsDigit(text[j])) {
      if (exponent < 1000000) exponent = exponent * 10 + (text[j] - '0');
      ++j, ++expDigits;
    }
    if (expDigits > 0) {
      end = j;
      if (negativeExponent) exponent = -exponent;
    }
  }
  const std::size_t begin = plusSign ? 1 : 0;
  double value = 0.0;
  const auto [ptr, ec] =
      std::from_chars(text.data() + begin, text.data() + end, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    const std::string_view mantissa = text.substr(mantissaBegin, mantissaEnd - mantissaBegin);
    if (LeadingExponent(mantissa, exponent) > 0) FailReading();
    return 0.0;
  }
  if (ec != std::errc() || ptr != text.data() + end) FailReading();  // the prefix was checked above
  return value;
}

// Walks the first line as a header. Each name read is appended to names. Returns false, and
// stops, at the first field that is data: one that begins with a digit, is a whole number
// or equals the missing-value code.
bool ReadHeaderNames(std::string_view line, const std::string& mvCode, const FieldRules& rules,
                     std::vector<std::string>& names) {
  std::size_t pos = 0;
  while (rules.SkipToField(line, pos)) {
    const std::string_view field = rules.TakeField(line, pos);
    if (IsDigit(field.front()) || rules.IsWholeNumber(field) || field == mvCode) return false;
    const bool endsLine = pos == line.size();
    for (std::size_t k = 0; k < field.size(); ++k) {
      const bool lastOfLine = endsLine && k + 1 == field.size();
      if (!lastOfLine && field[k] == rules.foreign()) FailReading();
    }
    names.emplace_back(field.substr(0, kMaxNameLength));
  }
  return true;
}

// The text of a data field as the number conversion reads it: the file's decimal separator
// becomes '.'. The last character of the line is taken as it stands.
std::string CollectField(std::string_view field, bool endsLine, const FieldRules& rules) {
  std::string text;
  text.reserve(field.size());
  bool seenSeparator = false;
  for (std::size_t k = 0; k < field.size(); ++k) {
    const char c = field[k];
    if (endsLine && k + 1 == field.size()) {
      text.push_back(c);
    } else if (c == rules.foreign()) {
      FailReading();
    } else if (c == rules.separator()) {
      if (seenSeparator) FailReading();
      seenSeparator = true;
      text.push_back('.');
    } else {
      text.push_back(c);
    }
  }
  return text;
}

// Reads one data line (line number lineNumber of the file) into row `row` of table; the line
// must hold exactly `fields` fields. Fields without a number are noted in notes.
void ReadRow(std::string_view line, long long lineNumber, int row, int fields,
             const std::string& mvCode, const FieldRules& rules, MaskedMatrix& table,
             DataFileNotes* notes) {
  std::size_t pos = 0;
  int column = 0;
  while (rules.SkipToField(line, pos)) {
    if (column == fields) FailReading();  // more fields than the first line
    ++column;
    const std::string_view field = rules.TakeField(line, pos);
    if (field.size() > kMaxFieldLength) FailReading();
    if (field == mvCode) {
      table.set(row, column, 0.0, false);
      continue;
    }
    const std::string text = CollectField(field, pos == line.size(), rules);
    bool numberless = false;
    table.set(row, column, ConvertNumber(text, &numberless), true);
    if (numberless && notes != nullptr) {
      if (notes->numberless.empty()) notes->numberless.resize(static_cast<std::size_t>(fields));
      DataFileNotes::Numberless& n = notes->numberless[static_cast<std::size_t>(column - 1)];
      if (n.firstLines.size() < DataFileNotes::kLinesKept) n.firstLines.push_back(lineNumber);
      ++n.count;
    }
  }
  if (column < fields) FailReading();  // a short line
}

// Where the data come from, for the messages: a file named by its path, or the standard input.
class DataSource {
 public:
  static DataSource File(std::string path) { return DataSource(std::move(path), false); }
  static DataSource Input() { return DataSource({}, true); }

  [[noreturn]] void FailOpen() const {
    if (standardInput_) throw ExceptionNoFile(StandardInput{});
    throw ExceptionNoFile(path_);
  }
  [[noreturn]] void FailTooLarge(std::uint64_t rows, int fields) const {
    if (standardInput_) throw ExceptionFileTooLarge(StandardInput{}, rows, fields);
    throw ExceptionFileTooLarge(path_, rows, fields);
  }
  [[noreturn]] void FailNotPlainText() const {
    if (standardInput_) throw ExceptionNotPlainText(StandardInput{});
    throw ExceptionNotPlainText(path_);
  }
  [[noreturn]] void FailCopy(const std::string& folder, int error) const {
    throw ExceptionNoTemporaryCopy(standardInput_ ? "The standard input" : "The file " + path_,
                                   folder, std::strerror(error));
  }

 private:
  DataSource(std::string path, bool standardInput)
      : path_(std::move(path)), standardInput_(standardInput) {}
  std::string path_;
  bool standardInput_;
};

// A file descriptor, closed at the end when owned.
class Descriptor {
 public:
  Descriptor(int fd, bool owned) : fd_(fd), owned_(owned) {}
  ~Descriptor() {
    if (owned_ && fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Gives up the ownership and returns the descriptor.
  int release() {
    owned_ = false;
    return fd_;
  }

 private:
  int fd_;
  bool owned_;
};

// Reads a file descriptor from the offset where it began, and goes back there on a seek to 0.
// A failed read ends the data and is remembered.
class DescriptorBuffer : public std::streambuf {
 public:
  DescriptorBuffer(int fd, off_t begin) : fd_(fd), begin_(begin), buffer_(kBufferSize) {}
  bool failed() const { return failed_; }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    ssize_t n = 0;
    do {
      n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
      if (n < 0) failed_ = true;
      return traits_type::eof();
    }
    setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
    return traits_type::to_int_type(*gptr());
  }
  pos_type seekpos(pos_type pos, std::ios_base::openmode) override {
    if (::lseek(fd_, begin_ + static_cast<off_t>(pos), SEEK_SET) < 0) {
      return pos_type(off_type(-1));
    }
    setg(buffer_.data(), buffer_.data(), buffer_.data());
    return pos;
  }

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;
  int fd_;
  off_t begin_;
  std::vector<char> buffer_;
  bool failed_ = false;
};

// Copies everything that fd gives, up to its end, to a new file of the temporary folder
// ($TMPDIR, else /tmp) that has no name (or loses it at once where the file system cannot make such
// files), so that no ending of the process leaves it behind. Returns the copy, positioned at its
// start. Zero bytes end the copy at once: such data are no plain text and are refused anyway.
int CopyToTemporaryFile(int fd, const DataSource& source) {
  const char* tmpdir = std::getenv("TMPDIR");
  const fs::path folder = tmpdir != nullptr && tmpdir[0] != '\0' ? tmpdir : "/tmp";
  int copy = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (copy < 0) {
    std::string pattern = (folder / ".vorel-input-XXXXXX").string();
    copy = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (copy < 0) source.FailCopy(folder.string(), errno);
    ::unlink(pattern.c_str());
  }
  Descriptor owner(copy, true);
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) source.FailOpen();
    if (n == 0) break;
    if (std::memchr(buffer.data(), '\0', static_cast<std::size_t>(n)) != nullptr) {
      source.FailNotPlainText();
    }
    for (ssize_t written = 0; written < n;) {
      const ssize_t w =
          ::write(copy, buffer.data() + written, static_cast<std::size_t>(n - written));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) source.FailCopy(folder.string(), errno);
      written += w;
    }
  }
  if (::lseek(copy, 0, SEEK_SET) != 0) source.FailCopy(folder.string(), errno);
  return owner.release();
}

// The lines of the data, one at a time, as often as needed. A regular file is read from the
// disk at each pass, from where its descriptor stood; anything else (a pipe, a terminal, a
// device) is read once into a temporary file of its own, and that is read at each pass.
class LineReader {
 public:
  // Reads the file at path.
  explicit LineReader(const std::string& path) : source_(DataSource::File(path)) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) source_.FailOpen();
    file_ = std::make_unique<Descriptor>(fd, true);
    Attach();
  }
  // Reads the open descriptor fd, the standard input, which stays open.
  explicit LineReader(int fd) : source_(DataSource::Input()) {
    file_ = std::make_unique<Descriptor>(fd, false);
    Attach();
  }

  const DataSource& source() const { return source_; }

  // Back to the first line.
  void Rewind() {
    in_->clear();
    in_->seekg(0);
    if (!*in_) source_.FailOpen();
    number_ = 0;
  }

  // The next line, without its LF and a CR before it; false at the end of the file (a final
  // line without a line break is a line; the empty text after a final line break is none). A
  // UTF-8 byte order mark is no part of the first line.
  bool Next(std::string& line) {
    if (!std::getline(*in_, line)) {
      if (in_->bad() || buffer_->failed()) source_.FailOpen();
      return false;
    }
    if (number_ == 0 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++number_;
    return true;
  }
  // The 1-based number of the last line given by Next.
  long long number() const { return number_; }

 private:
  void Attach() {
    struct stat status {};
    if (::fstat(file_->get(), &status) != 0 || S_ISDIR(status.st_mode)) source_.FailOpen();
    off_t begin = 0;
    if (S_ISREG(status.st_mode)) {
      begin = ::lseek(file_->get(), 0, SEEK_CUR);
      if (begin < 0) source_.FailOpen();
      read_ = file_.get();
    } else {
      copy_ = std::make_unique<Descriptor>(CopyToTemporaryFile(file_->get(), source_), true);
      read_ = copy_.get();
    }
    buffer_ = std::make_unique<DescriptorBuffer>(read_->get(), begin);
    in_ = std::make_unique<std::istream>(buffer_.get());
  }

  DataSource source_;
  std::unique_ptr<Descriptor> file_;
  std::unique_ptr<Descriptor> copy_;
  const Descriptor* read_ = nullptr;
  std::unique_ptr<DescriptorBuffer> buffer_;
  std::unique_ptr<std::istream> in_;
  long long number_ = 0;
};

// Text in UTF-16 (or any encoding with zero bytes) reads as nonsense under the reader's rules.
void CheckPlainText(std::string_view line, bool firstLine, const DataSource& source) {
  const bool wideMark = firstLine && line.size() >= 2 &&
                        ((line[0] == '\xFF' && line[1] == '\xFE') ||
                         (line[0] == '\xFE' && line[1] == '\xFF'));
  if (wideMark || line.find('\0') != std::string_view::npos) source.FailNotPlainText();
}

// Reads the data of reader; see ReadDataFile.
int ReadData(LineReader& reader, const std::string& mvCode, const InputFormat& format,
             MaskedMatrix& table, std::vector<std::string>& names, DataFileNotes* notes,
             const std::function<std::optional<std::uint64_t>()>& availableMemory) {
  const DataSource& source = reader.source();
  const FieldRules rules(format);
  if (notes != nullptr) *notes = DataFileNotes{};
  std::string line;

  // First pass, in constant memory: the first line, the names and the number of rows.
  // Leading empty and comment lines are skipped; the first other line decides the columns.
  bool found = false;
  while (reader.Next(line)) {
    CheckPlainText(line, reader.number() == 1, source);
    if (!line.empty() && !IsCommentLine(line)) {
      found = true;
      break;
    }
  }
  if (!found) FailReading();
  const long long firstLine = reader.number();
  const int fields = rules.CountFields(line);
  if (fields == 0) FailReading();

  names.clear();
  const bool header = ReadHeaderNames(line, mvCode, rules, names);
  if (!header) {
    names.clear();
    for (int c = 1; c <= fields; ++c) names.push_back("Series #" + std::to_string(c));
  }

  // Data lines: every later line that is no comment and holds a field. Empty lines and lines
  // of delimiters alone make no row.
  std::uint64_t rows = header ? 0 : 1;
  while (reader.Next(line)) {
    CheckPlainText(line, false, source);
    if (IsCommentLine(line) || rules.CountFields(line) == 0) continue;
    ++rows;
  }
  if (rows == 0) FailReading();

  // The table must fit before it is allocated: values and flags of every cell.
  const std::uint64_t cells = rows * static_cast<std::uint64_t>(fields);
  const std::uint64_t tableBytes =
      cells * (sizeof(double) + sizeof(FlagMatrix::Scalar)) + sizeof(int) * fields;
  const std::optional<std::uint64_t> available = availableMemory();
  if (rows > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) ||
      cells / rows != static_cast<std::uint64_t>(fields) || (available && tableBytes > *available)) {
    source.FailTooLarge(rows, fields);
  }

  // Second pass: the rows.
  const int R = static_cast<int>(rows);
  const bool sameShape = table.rows() == R && table.cols() == fields;
  table.Resize(R, fields);  // a new shape comes with values 0 and flags 1
  if (sameShape) {
    table.values().setZero();
    table.flags().setOnes();
  }
  reader.Rewind();
  while (reader.number() < (header ? firstLine : firstLine - 1) && reader.Next(line)) {
  }
  int row = 0;
  while (row < R && reader.Next(line)) {
    if (IsCommentLine(line) || rules.CountFields(line) == 0) continue;
    ++row;
    ReadRow(line, reader.number(), row, fields, mvCode, rules, table, notes);
  }
  if (row < R) FailReading();  // the file lost lines between the two passes
  table.RecountValid();
  return fields;
}

}  // namespace

int ReadDataFile(const std::string& path, const std::string& mvCode, const InputFormat& format,
                 MaskedMatrix& table, std::vector<std::string>& names, DataFileNotes* notes,
                 const std::function<std::optional<std::uint64_t>()>& availableMemory) {
  LineReader reader(path);
  return ReadData(reader, mvCode, format, table, names, notes, availableMemory);
}

int ReadDataFromStandardInput(const std::string& mvCode, const InputFormat& format,
                              MaskedMatrix& table, std::vector<std::string>& names,
                              DataFileNotes* notes,
                              const std::function<std::optional<std::uint64_t>()>& availableMemory,
                              int descriptor) {
  LineReader reader(descriptor);
  return ReadData(reader, mvCode, format, table, names, notes, availableMemory);
}

}  // namespace vorel
