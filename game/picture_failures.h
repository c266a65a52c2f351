#pragma once
// Pictures that cannot be read at start-up no longer stop the loading of the rest: each
// failure becomes one line naming the file and the reason, and the start-up shows them
// all in one message once every window has loaded what it could.

#include <string>
#include <vector>

class TPicture;

// Loads the picture from a game path; a file that is missing or cannot be read adds its
// line to failures instead of raising, and leaves the picture as it was.
void LoadPictureNoting(TPicture& picture, const std::string& gamePath,
                       std::vector<std::string>& failures);

// A picture to load and the game path of its file.
struct TPictureToLoad {
  TPicture* Picture = nullptr;
  std::string Path;
};

// Loads the pictures as LoadPictureNoting does, two at a time: start-up reads and decodes
// several full-screen pictures, and a second core halves the wait. Each picture is an
// object of its own and the failures are noted in the list's order, so the outcome is the
// same as loading them one after another.
void LoadPicturesNoting(const std::vector<TPictureToLoad>& pictures,
                        std::vector<std::string>& failures);

// The one message that lists the failures (the first few, and how many more there are).
std::string PictureFailuresMessage(const std::vector<std::string>& failures);
