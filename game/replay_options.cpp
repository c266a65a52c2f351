#include "game/replay_options.h"

bool TakeReplayOptions(std::vector<std::string>& arguments, TReplayOptions& options,
                       std::string& error) {
  std::vector<std::string> rest;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    std::string value;
    const size_t equals = argument.find('=');
    const bool joined = argument.rfind("--", 0) == 0 && equals != std::string::npos;
    if (joined) {
      value = argument.substr(equals + 1);
      argument.resize(equals);
    }
    std::string* file = nullptr;
    if (argument == "--record") file = &options.RecordFile;
    if (argument == "--replay") file = &options.ReplayFile;
    if (file != nullptr) {
      if (!joined && i + 1 < arguments.size()) value = arguments[++i];
      if (value.empty()) {
        error = argument + " needs a file";
        return false;
      }
      *file = value;
    } else if (joined) {
      rest.push_back(arguments[i]);
    } else if (argument == "--headless") {
      options.Headless = true;
    } else {
      rest.push_back(argument);
    }
  }
  if (!options.RecordFile.empty() && !options.ReplayFile.empty()) {
    error = "--record and --replay cannot go together";
    return false;
  }
  if (options.Headless && options.ReplayFile.empty()) {
    error = "--headless goes only with --replay";
    return false;
  }
  arguments = std::move(rest);
  return true;
}
