#include "game/program.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "engine/timer/library_loader.h"
#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/paths.h"
#include "framework/text_file.h"
#include "game/main_form.h"
#include "game/records.h"
#include "game/settings.h"
#include "game/start_up.h"
#include "game/state_digest.h"
#include "platform/recording_platform.h"
#include "platform/replay_platform.h"

namespace {

namespace fs = std::filesystem;

// What a recording keeps besides the platform's answers: the records file as it was at
// the start, and the settings of the run, one text a line in the settings file's order.
constexpr const char* kRecordsAttachment = "records";
constexpr const char* kSettingsAttachment = "settings";

struct RunHooks {
  std::function<void(uint32_t frame, uint64_t digest)> frame;
  std::function<void(const std::string& endState, uint64_t digest)> end;
  std::function<void(TMainForm&)> atEnd;
};

std::string settingsLines(const Settings& settings) {
  std::string lines;
  for (const std::string& text : WriteSettings(settings)) lines += text + "\n";
  return lines;
}

Settings settingsOf(const std::string& lines) {
  std::vector<std::string> texts;
  for (size_t start = 0; start < lines.size();) {
    const size_t end = lines.find('\n', start);
    texts.push_back(lines.substr(start, end - start));
    start = end == std::string::npos ? lines.size() : end + 1;
  }
  std::vector<std::string> warnings;  // a recording holds what the game itself wrote
  return ReadSettings(texts, "the recording", warnings);
}

// Calls check after every frame the main window draws.
void watchFrames(TMainForm& form, const std::function<void(uint32_t, uint64_t)>& check) {
  form.DXTimer->OnTimer = [&form, frame = form.DXTimer->OnTimer, check, checked = form.FrameCount](
                              TObject* sender, int32_t lag) mutable {
    if (frame) frame(sender, lag);
    if (form.FrameCount == checked) return;
    checked = form.FrameCount;
    check(checked, GameStateDigest(&form));
  };
}

int runGame(platform::Platform& platform, const Settings& settings, const RunHooks& hooks) {
  ResetProgramValues();
  int exitCode = 0;
  {
    TApplication application(platform);
    TMainForm* form = nullptr;
    try {
      const TGameWindows windows = CreateGameWindows(application);
      form = windows.MainForm;
      form->ApplySettings(settings);
      if (hooks.frame) watchFrames(*form, hooks.frame);
      application.Run();
    } catch (const std::exception& e) {
      // Only a damaged window description gets here: nothing can run without it.
      application.MessageBox(e.what());
      exitCode = 1;
    }
    // The game ends here; what follows (keeping the player's choices) is the program's.
    if (hooks.end) {
      const auto* main = dynamic_cast<const TMainForm*>(application.MainForm());
      hooks.end(EndStateLine(main), GameStateDigest(main));
    }
    if (exitCode == 0 && form != nullptr && hooks.atEnd) hooks.atEnd(*form);
  }
  FreeLibraries();
  return exitCode;
}

void report(std::FILE* err, const std::string& file, const std::string& what) {
  std::fprintf(err, "reefmaw: %s: %s\n", file.c_str(), what.c_str());
}

// The file name of a game path such as `data\rec.rmw`.
std::string fileName(const std::string& gamePath) {
  return gamePath.substr(gamePath.find_last_of("\\/") + 1);
}

// A folder of the replay's own for the records file it plays with, removed afterwards.
class ReplayFolder {
 public:
  explicit ReplayFolder(const platform::ReplayHeader& header) {
    std::string pattern = (fs::temp_directory_path() / "reefmaw_replay_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw platform::ReplayFileError("no temporary folder for the replay's records");
    }
    path_ = pattern;
    auto records = header.attachments.find(kRecordsAttachment);
    if (records != header.attachments.end()) {
      const fs::path file = path_ / fileName(kRecordsFile);
      std::ofstream(file, std::ios::binary) << records->second;
    }
  }
  ~ReplayFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  ReplayFolder(const ReplayFolder&) = delete;
  ReplayFolder& operator=(const ReplayFolder&) = delete;
  std::string path() const { return path_.string(); }

 private:
  fs::path path_;
};

}  // namespace

int PlayGame(platform::Platform& platform, const Settings& settings, const std::string& recordFile,
             const std::function<void(TMainForm&)>& atEnd) {
  RunHooks hooks;
  hooks.atEnd = atEnd;
  if (recordFile.empty()) return runGame(platform, settings, hooks);
  platform::ReplayHeader header;
  header.counterFrequency = platform.clock().highResFrequency();
  try {
    header.attachments[kRecordsAttachment] = ReadTextFile(kRecordsFile);
  } catch (const EInOutError&) {
    // No records file to read: the replay will have none either.
  }
  header.attachments[kSettingsAttachment] = settingsLines(settings);
  std::unique_ptr<platform::ReplayWriter> writer;
  try {
    writer = std::make_unique<platform::ReplayWriter>(recordFile, header);
  } catch (const platform::ReplayFileError& e) {
    report(stderr, recordFile, e.what());
    return 1;
  }
  platform::RecordingPlatform recording(platform, *writer);
  bool written = true;
  hooks.frame = [&recording](uint32_t frame, uint64_t digest) { recording.frame(frame, digest); };
  hooks.end = [&](const std::string& endState, uint64_t digest) {
    try {
      writer->finish(endState, digest);
    } catch (const platform::ReplayFileError& e) {
      report(stderr, recordFile, e.what());
      written = false;
    }
  };
  const int exitCode = runGame(recording, settings, hooks);
  return written ? exitCode : 1;
}

int ReplayGame(const std::string& file, platform::Platform* display, const std::string& dataFolder,
               std::FILE* out, std::FILE* err) {
  std::unique_ptr<platform::ReplayReader> reader;
  std::unique_ptr<ReplayFolder> folder;
  try {
    std::vector<uint8_t> bytes = platform::readReplayFile(file);
    platform::ReplayReader::check(bytes);
    reader = std::make_unique<platform::ReplayReader>(std::move(bytes));
    folder = std::make_unique<ReplayFolder>(reader->header());
  } catch (const platform::ReplayFileError& e) {
    report(err, file, e.what());
    return 1;
  }
  UseOwnUserFiles(dataFolder, folder->path(), {kRecordsFile});
  const auto& attachments = reader->header().attachments;
  const auto recorded = attachments.find(kSettingsAttachment);
  const Settings settings =
      recorded != attachments.end() ? settingsOf(recorded->second) : Settings{};

  platform::ReplayPlatform replay(*reader, display);
  std::string endState;
  RunHooks hooks;
  hooks.frame = [&replay](uint32_t frame, uint64_t digest) { replay.frame(frame, digest); };
  hooks.end = [&](const std::string& state, uint64_t digest) {
    endState = state;
    replay.finish(state, digest);
  };
  runGame(replay, settings, hooks);
  UseCurrentFolder();

  std::fprintf(out, "%s\n", endState.c_str());
  if (replay.interrupted()) {
    report(err, file, "the replay was stopped at frame " + std::to_string(replay.lastFrame()));
    return 1;
  }
  if (!replay.failure().empty()) {
    report(err, file, replay.failure());
    return 1;
  }
  return 0;
}
