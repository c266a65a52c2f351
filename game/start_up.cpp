#include "game/start_up.h"

#include "framework/application.h"
#include "framework/description.h"
#include "game/main_form.h"
#include "game/name_entry_form.h"
#include "game/picture_failures.h"

TGameWindows CreateGameWindows(TApplication& application) {
  TGameWindows windows;
  windows.MainForm = application.CreateForm<TMainForm>();
  windows.MainForm->LoadDescription(LoadEmbeddedDescription("main_form.form"));
  windows.Form1 = application.CreateForm<TForm1>(windows.MainForm);
  windows.Form1->LoadDescription(LoadEmbeddedDescription("form1.form"));
  windows.MainForm->ShowNameEntry = [form1 = windows.Form1] { form1->ShowModal(); };
  if (!windows.MainForm->PictureFailures.empty()) {
    application.MessageBox(PictureFailuresMessage(windows.MainForm->PictureFailures));
  }
  return windows;
}
