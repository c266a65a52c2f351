#include "platform/recording_platform.h"

namespace platform {
namespace {

TapedMachine realMachine(Platform& real) {
  TapedMachine machine;
  machine.clock = &real.clock();
  machine.events = &real.events();
  machine.text = &real.text();
  machine.input = &real.input();
  machine.windows = &real;
  machine.audio = &real.audio();
  machine.libraries = &real.libraries();
  machine.files = &real.files();
  return machine;
}

}  // namespace

RecordingPlatform::RecordingPlatform(Platform& real, ReplayWriter& writer)
    : TapedPlatform(std::make_unique<ReplayTape>(writer), realMachine(real)) {}

}  // namespace platform
