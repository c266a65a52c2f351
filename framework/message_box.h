#pragma once
// The framework's modal message box: the text and one button that closes it. Its
// nested loop keeps the application's idle processing going.

#include <string>

class TApplication;

void ShowMessageBox(TApplication& application, const std::string& text, const std::string& caption);
