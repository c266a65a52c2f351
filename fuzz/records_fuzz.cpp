// Feeds arbitrary bytes to the records file: read as the game reads it, then a new
// entry inserted and saved as the name-entry window saves it, in a folder of its own.
// What is saved must read back as the table that was saved, and a file that does not
// read must be left exactly as it was.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/code_page.h"
#include "framework/exceptions.h"
#include "framework/paths.h"
#include "game/records.h"
#include "work_folder.h"

namespace {

namespace fs = std::filesystem;

// The game's files resolve under the work folder, its records file in data/ there. The
// current folder stays where the fuzzer was started, so relative corpus folders still work.
const fs::path& workFolder() {
  static const fs::path folder = [] {
    const fs::path dir = MakeWorkFolder("reefmaw_records_fuzz");
    fs::create_directories(dir / "data");
    UseDataFolder(dir.string());
    return dir;
  }();
  return folder;
}

std::string readBack() {
  std::ifstream in(workFolder() / "data" / "rec.rmw", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool sameTable(const TRecordTable& a, const TRecordTable& b) {
  return a.Names == b.Names && a.Scores == b.Scores;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  workFolder();
  { std::ofstream(workFolder() / "data" / "rec.rmw", std::ios::binary | std::ios::trunc) << bytes; }

  // The new entry comes from the input too: a name (any bytes, as typed text may hold
  // anything) and a score.
  const std::string name = Win1251ToUtf8(bytes.substr(0, bytes.size() % 40));
  const int32_t score =
      size >= 4
          ? static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24)
          : static_cast<int32_t>(size);
  TRecordTable expected;
  try {
    expected = ParseRecords(bytes);
  } catch (const EInOutError&) {
    // A file that does not read is never written.
    try {
      SaveRecord(name, score);
    } catch (const EInOutError&) {
    }
    if (readBack() != bytes) std::abort();
    return 0;
  }
  InsertRecord(expected, name, score);
  SaveRecord(name, score);
  const std::string saved = readBack();
  const TRecordTable back = ParseRecords(saved);
  // Names lose only what the code page cannot hold and the line ends a line cannot.
  TRecordTable encoded = expected;
  for (std::string& n : encoded.Names) {
    std::string one = Utf8ToWin1251(n);
    for (char& c : one) {
      if (c == '\r' || c == '\n') c = '?';
    }
    n = Win1251ToUtf8(one);
  }
  if (!sameTable(back, encoded)) std::abort();
  if (FormatRecords(back) != saved) std::abort();
  return 0;
}
