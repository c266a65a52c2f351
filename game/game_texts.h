#pragma once
// The words of this run, in the language the start-up chose: the texts the game draws,
// asked for by their Russian wording (the message id), and the pictures with words,
// taken from the language's own folder when it has them. Russian, the game's own, until
// the start-up chooses another.

#include <string>

#include "game/languages.h"

// From now on the game speaks the language, its texts read from the compiled catalogue
// in catalogueFolder (see CatalogueFolder). False when the language needs a catalogue
// and that folder has none: its texts then stay Russian, and its pictures are still used.
bool UseLanguage(TLanguage language, const std::string& catalogueFolder);
TLanguage GameLanguage();

// The text for its Russian wording in this run's language; the wording itself when the
// language has no translation of it.
std::string GameText(const std::string& russian);

// The picture of a game path under Data (`Data\menu\fon\3.bmp`) in this run's language:
// the twin under the language's picture folder when there is one, else the path itself.
std::string LanguagePicture(const std::string& gamePath);
