#pragma once
// English for a test's scope, from the build tree's catalogue; Russian again after.

#include "game/game_texts.h"

class InEnglish {
 public:
  InEnglish() { found = UseLanguage(lgEnglish, REEFMAW_BUILD_DIR "/locale"); }
  ~InEnglish() { UseLanguage(lgRussian, ""); }
  InEnglish(const InEnglish&) = delete;
  InEnglish& operator=(const InEnglish&) = delete;
  bool found = false;
};
