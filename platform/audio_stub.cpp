#include "platform/audio_system.h"

namespace platform {

std::unique_ptr<AudioSystem> createSdlAudioSystem() { return std::make_unique<AudioSystem>(); }
std::unique_ptr<AudioSystem> createFakeAudioSystem() { return std::make_unique<AudioSystem>(); }

}  // namespace platform
