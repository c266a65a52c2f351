#pragma once
// The sound device as the sound engine sees it.

#include <cstdint>
#include <memory>

namespace platform {

class AudioSystem {
 public:
  virtual ~AudioSystem() = default;
};

std::unique_ptr<AudioSystem> createSdlAudioSystem();
std::unique_ptr<AudioSystem> createFakeAudioSystem();

}  // namespace platform
