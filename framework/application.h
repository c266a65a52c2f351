#pragma once
// The application object: the message loop with its one idle-handler slot, the
// application's active flag and its notifications to the main window, hooks on the main
// window's messages, and the catching of exceptions at dispatch.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/messages.h"
#include "platform/platform.h"

class TForm;

// Done = false asks to be called again at once, so the loop does not wait.
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
// A hook sees every message sent to the main window before the form handles it; true
// means the hook handled it and the form does not see it.
using TWindowHook = std::function<bool(TMessage& Message)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(platform::Platform& platform);
  ~TApplication() override;
  std::string ClassName() const override { return "TApplication"; }

  platform::Platform& Platform() { return platform_; }

  // The executable's name without directory, cut at its first full stop, every
  // character after the first in lower case.
  std::string Title;
  TForm* MainForm() const { return mainForm_; }
  bool Active() const { return active_; }
  bool Terminated() const { return terminated_; }

  // Creates a form owned by the application; the first one becomes the main form.
  template <typename T, typename... Args>
  T* CreateForm(Args&&... args) {
    T* form = CreateComponent<T>(std::forward<Args>(args)...);
    adoptForm(form);
    return form;
  }

  // Runs the message loop until the main form closes or Terminate is called.
  void Run();
  void Terminate() { terminated_ = true; }
  // Handles one pending message, or runs one idle pass (and waits for an event when the
  // idle handler is content). Modal loops call it.
  void HandleMessage();
  // Handles every pending message, without idle passes.
  void ProcessMessages();

  // The one idle-handler slot: installing replaces, removing empties.
  void SetIdleHandler(TIdleEvent handler) { onIdle_ = std::move(handler); }
  void RemoveIdleHandler() { onIdle_ = nullptr; }
  bool HasIdleHandler() const { return static_cast<bool>(onIdle_); }
  // Called by an idle handler that asks to be called again (Done = false) but has
  // nothing to do for a while (no frame to draw now): the loop then waits up to
  // timeoutMs for an event before the next idle pass instead of polling at once. The
  // shortest wait asked for in a pass counts.
  void RequestIdleWait(int timeoutMs);

  int HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(int id);
  // Sends a message to the main window through the hooks.
  void SendToMainWindow(TMessage& message);
  // Queues a message for the main window; it is sent by the next HandleMessage.
  void PostToMainWindow(uint32_t msg, int64_t wParam = 0, int64_t lParam = 0);

  // Shows an exception's text in a message box; the loop goes on.
  void HandleException(const std::exception& e);
  // A modal message box with the text and one button; the idle processing goes on.
  void MessageBox(const std::string& text, const std::string& caption = "");
  std::function<void(const std::string& text)> OnShowMessage;  // tests watch boxes here

  // Forms register their windows so that events reach them.
  void RegisterWindow(uint32_t windowId, TForm* form);
  void UnregisterWindow(uint32_t windowId);
  void FormDestroyed(TForm* form);
  // Modal forms in the order they were shown; while one is up, pointer and keys reach
  // only the topmost.
  void PushModal(TForm* form) { modal_.push_back(form); }
  void PopModal(TForm* form);
  TForm* ModalForm() const { return modal_.empty() ? nullptr : modal_.back(); }
  // Counts idle passes (for tests and the frame-rate display).
  uint64_t IdleCount() const { return idleCount_; }

 private:
  void adoptForm(TForm* form);
  bool dispatchOne();
  void dispatchEvent(const platform::Event& event);
  void setActive(bool active);
  void idle();

  platform::Platform& platform_;
  TForm* mainForm_ = nullptr;
  bool active_ = false;
  bool deactivatePending_ = false;
  bool terminated_ = false;
  TIdleEvent onIdle_;
  int idleWaitMs_ = -1;  // asked for in the current idle pass; -1: none
  std::vector<std::pair<int, TWindowHook>> hooks_;
  int nextHookId_ = 1;
  std::deque<TMessage> posted_;
  std::vector<std::pair<uint32_t, TForm*>> windows_;
  std::vector<TForm*> modal_;
  uint64_t idleCount_ = 0;
};

// The program's one application object, set while it exists.
extern TApplication* Application;
