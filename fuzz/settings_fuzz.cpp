// Feeds arbitrary bytes to the settings file: loaded as the game loads it at start-up, in
// a folder of its own. Whatever the bytes, the settings read are ones the game can write
// and read back unchanged, a second start reads the same settings without writing the
// file again, and a file that was set aside as .bad is the input byte for byte.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/settings.h"
#include "work_folder.h"

namespace {

namespace fs = std::filesystem;

const fs::path& workFolder() {
  static const fs::path folder = MakeWorkFolder("reefmaw_settings_fuzz");
  return folder;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const fs::path path = workFolder() / "reefmaw.ini";
  std::error_code ec;
  fs::remove(path.string() + ".bad", ec);
  { std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes; }

  std::vector<std::string> warnings;
  SettingsFile file = OpenSettingsFile(path.string());
  const Settings first = LoadSettings(file, false, warnings);
  if (fs::exists(path.string() + ".bad") && readFile(path.string() + ".bad") != bytes) {
    std::abort();
  }
  // What was read writes and reads back as itself, without a warning.
  std::vector<std::string> none;
  const std::vector<std::string> texts = WriteSettings(first);
  if (WriteSettings(ReadSettings(texts, "x", none)) != texts || !none.empty()) std::abort();

  // A second start reads the same and leaves the file as the first start left it.
  const std::string after = readFile(path);
  std::vector<std::string> again;
  SettingsFile second = OpenSettingsFile(path.string());
  if (WriteSettings(LoadSettings(second, false, again)) != texts) std::abort();
  if (readFile(path) != after) std::abort();
  return 0;
}
