#pragma once
// The game's windows as the program starts them: the main window from its description,
// then the hidden name-entry window, which the main window shows at a qualifying game
// over. Shared by the program, its tools and the tests.

class TApplication;
class TMainForm;
class TForm1;

struct TGameWindows {
  TMainForm* MainForm = nullptr;
  TForm1* Form1 = nullptr;
};

// Raises EReadError only for a damaged window description; the errors of the windows'
// creation handlers (a missing records file) are shown by the application and start-up
// goes on. Pictures that could not be read are listed together in one message, after
// both windows have loaded every other picture.
TGameWindows CreateGameWindows(TApplication& application);
