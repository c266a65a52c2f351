#include "game/records.h"

#include <cstdlib>
#include <limits>

#include "framework/code_page.h"
#include "framework/exceptions.h"
#include "framework/paths.h"
#include "framework/text_file.h"

std::array<std::string, kRecordCount> RecordNames;
std::array<int32_t, kRecordCount> RecordScores{};

namespace {

constexpr size_t kMaxNumberLength = 32;

// A reader over the file's bytes with the text-file rules of line ends and numbers.
class RecordsReader {
 public:
  explicit RecordsReader(std::string_view bytes) : bytes_(bytes) {}

  // The rest of the current line without its end; CRs inside it are dropped.
  std::string readLine() {
    std::string line;
    while (pos_ < bytes_.size() && bytes_[pos_] != '\n') {
      if (bytes_[pos_] != '\r') line += bytes_[pos_];
      ++pos_;
    }
    if (pos_ < bytes_.size()) ++pos_;
    return line;
  }

  // Blanks and line ends are skipped, then the number runs to the next blank; the rest
  // of its line is skipped. 0 at the end of the file.
  int32_t readNumberLine() {
    while (pos_ < bytes_.size() && isBlank(bytes_[pos_])) ++pos_;
    std::string number;
    while (pos_ < bytes_.size() && !isBlank(bytes_[pos_]) && number.size() < kMaxNumberLength) {
      number += bytes_[pos_++];
    }
    readLine();
    if (number.empty()) return 0;
    return toInteger(number);
  }

 private:
  static bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

  static int32_t toInteger(const std::string& text) {
    size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (i == text.size()) throw EInOutError(SInvalidNumericInput, kErrorInvalidNumeric);
    int64_t value = 0;
    for (; i < text.size(); ++i) {
      if (text[i] < '0' || text[i] > '9')
        throw EInOutError(SInvalidNumericInput, kErrorInvalidNumeric);
      value = value * 10 + (text[i] - '0');
      if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) {
        throw EInOutError(SInvalidNumericInput, kErrorInvalidNumeric);
      }
    }
    if (text[0] == '-') value = -value;
    if (value > std::numeric_limits<int32_t>::max()) {
      throw EInOutError(SInvalidNumericInput, kErrorInvalidNumeric);
    }
    return static_cast<int32_t>(value);
  }

  std::string_view bytes_;
  size_t pos_ = 0;
};

// A line of the file cannot hold a line end: those become '?' like any other character
// the file cannot hold.
std::string nameLine(const std::string& name) {
  std::string bytes = Utf8ToWin1251(name);
  for (char& c : bytes) {
    if (c == '\r' || c == '\n') c = '?';
  }
  return bytes;
}

}  // namespace

void ReadRecords(std::string_view bytes, std::array<std::string, kRecordCount>& names,
                 std::array<int32_t, kRecordCount>& scores) {
  RecordsReader reader(bytes);
  for (int k = 0; k < kRecordCount; ++k) {
    names[static_cast<size_t>(k)] = Win1251ToUtf8(reader.readLine());
    scores[static_cast<size_t>(k)] = reader.readNumberLine();
  }
}

TRecordTable ParseRecords(std::string_view bytes) {
  TRecordTable table;
  ReadRecords(bytes, table.Names, table.Scores);
  return table;
}

std::string FormatRecords(const TRecordTable& table) {
  std::string bytes;
  for (int k = 0; k < kRecordCount; ++k) {
    bytes += nameLine(table.Names[static_cast<size_t>(k)]);
    bytes += "\r\n";
    bytes += std::to_string(table.Scores[static_cast<size_t>(k)]);
    bytes += "\r\n";
  }
  return bytes;
}

int InsertionRank(const TRecordTable& table, int32_t score) {
  int rank = kRecordCount + 1;
  for (int k = kRecordCount; k >= 1; --k) {
    if (table.Scores[static_cast<size_t>(k - 1)] < score) rank = k;
  }
  return rank;
}

void InsertRecord(TRecordTable& table, const std::string& name, int32_t score) {
  const int rank = InsertionRank(table, score);
  if (rank > kRecordCount) return;
  for (int k = kRecordCount - 1; k >= rank; --k) {
    table.Names[static_cast<size_t>(k)] = table.Names[static_cast<size_t>(k - 1)];
    table.Scores[static_cast<size_t>(k)] = table.Scores[static_cast<size_t>(k - 1)];
  }
  table.Names[static_cast<size_t>(rank - 1)] = name;
  table.Scores[static_cast<size_t>(rank - 1)] = score;
}

void LoadRecords() { ReadRecords(ReadTextFile(kRecordsFile), RecordNames, RecordScores); }

void SaveRecord(const std::string& name, int32_t score) {
  // Another game may be saving too: the table it writes must be the one this save reads.
  const FileLock lock(kRecordsFile);
  // A records file that has gone since start-up is begun afresh with this entry, so that
  // the name window never holds a player who cannot save.
  TRecordTable table;
  try {
    table = ParseRecords(ReadTextFile(kRecordsFile));
  } catch (const EInOutError& e) {
    if (e.ErrorCode != kErrorFileNotFound) throw;
  }
  InsertRecord(table, name, score);
  WriteTextFile(kRecordsFile, FormatRecords(table));
}
