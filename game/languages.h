#pragma once
// The languages the game speaks, in one table: Russian, the game's own, whose texts are
// the message ids of every catalogue and whose pictures lie where the game's paths name
// them, and the translations. The language choice, the start-up, the picture loading and
// the art tool read their facts about a language from here, so a language is one row
// (with its po/<code>.po and its pictures under its folder).

#include <array>
#include <cstddef>
#include <cstdint>

enum TLanguage : int32_t {
  lgRussian = 0,
  lgEnglish = 1,
};

inline constexpr int32_t kLanguageCount = 2;

struct TLanguageInfo {
  // The setting's and the flag's value, the catalogue's folder (share/locale/<Code>) and
  // the language part of the locale names it answers to (ru_RU.UTF-8, en_GB, en).
  const char* Code;
  const char* Name;  // for readers and tools
  // Where its pictures with words lie, mirroring the paths of the Russian ones under
  // Data (`Data\menu\fon\3.bmp` is `<PictureFolder>\menu\fon\3.bmp`); empty: the game's
  // own paths. A picture missing there is taken from the game's own paths.
  const char* PictureFolder;
  // The letters a pad turns through in the name window, capitals first (UTF-8); digits,
  // the space and a few signs follow them in every language. Each must be one that the
  // records file (Windows-1251) holds.
  const char* Letters;
};

inline constexpr std::array<TLanguageInfo, kLanguageCount> kLanguages = {{
    {"ru", "Russian", "", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"},
    {"en", "English", "Data\\lang\\en", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
}};

constexpr const TLanguageInfo& Language(int32_t language) {
  return kLanguages.at(static_cast<std::size_t>(language));
}

// The gettext domain of the game's catalogues: share/locale/<code>/LC_MESSAGES/reefmaw.mo.
inline constexpr const char* kTextDomain = "reefmaw";
