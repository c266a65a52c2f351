#include "framework/application.h"

#include <algorithm>

#include "framework/form.h"
#include "framework/message_box.h"

TApplication* Application = nullptr;

namespace {

// The title rule: file name without directory, cut at the first full stop, every
// character after the first in lower case.
std::string titleFromExecutable(const std::string& path) {
  std::string name = path.substr(path.find_last_of("/\\") + 1);
  name = name.substr(0, name.find('.'));
  for (size_t i = 1; i < name.size(); ++i) {
    if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] + 32);
  }
  return name;
}

}  // namespace

TApplication::TApplication(platform::Platform& platform)
    : TComponent(nullptr), platform_(platform) {
  Title = titleFromExecutable(platform_.executablePath());
  Application = this;
}

TApplication::~TApplication() {
  // Forms go first, while Application is still valid: they call back into it while
  // they are destroyed.
  ComponentState |= csDestroying;
  DestroyComponents();
  onIdle_ = nullptr;
  if (Application == this) Application = nullptr;
}

void TApplication::adoptForm(TForm* form) {
  if (mainForm_ == nullptr) mainForm_ = form;
}

void TApplication::Run() {
  if (mainForm_ != nullptr && !mainForm_->Handle()->visible()) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::HandleMessage() {
  if (!dispatchOne()) idle();
}

void TApplication::ProcessMessages() {
  while (dispatchOne()) {
  }
}

bool TApplication::dispatchOne() {
  if (!posted_.empty()) {
    TMessage message = posted_.front();
    posted_.pop_front();
    try {
      SendToMainWindow(message);
    } catch (const std::exception& e) {
      HandleException(e);
    }
    return true;
  }
  platform::Event event;
  if (platform_.events().poll(event)) {
    try {
      dispatchEvent(event);
    } catch (const std::exception& e) {
      HandleException(e);
    }
    return true;
  }
  // A focus loss not followed by a gain within the same burst of events means the
  // application as a whole went to the background (not just from one of its windows
  // to another).
  if (deactivatePending_) {
    deactivatePending_ = false;
    setActive(false);
    return true;
  }
  return false;
}

void TApplication::idle() {
  ++idleCount_;
  bool done = true;
  idleWaitMs_ = -1;
  if (onIdle_) {
    TIdleEvent handler = onIdle_;  // the handler may replace or remove itself
    try {
      handler(this, done);
    } catch (const std::exception& e) {
      HandleException(e);
    }
  }
  if (terminated_) return;
  if (done) {
    platform_.events().wait(-1);
  } else if (idleWaitMs_ >= 0) {
    platform_.events().wait(idleWaitMs_);
  }
}

void TApplication::RequestIdleWait(int timeoutMs) {
  timeoutMs = std::max(timeoutMs, 0);
  idleWaitMs_ = idleWaitMs_ < 0 ? timeoutMs : std::min(idleWaitMs_, timeoutMs);
}

void TApplication::dispatchEvent(const platform::Event& event) {
  using platform::EventKind;
  if (event.kind == EventKind::FocusGained) {
    deactivatePending_ = false;
    setActive(true);
  } else if (event.kind == EventKind::FocusLost) {
    deactivatePending_ = true;
  }
  if (event.window == 0) {
    // Signals: a close request for the whole program goes to the main form, and ends the
    // program at once while there is none yet (a message box before any window).
    if (event.kind == EventKind::Close) {
      if (mainForm_ != nullptr) {
        mainForm_->Close();
      } else {
        Terminate();
      }
    }
    return;
  }
  for (const auto& [id, form] : windows_) {
    if (id != event.window) continue;
    const bool input = event.kind == EventKind::MouseDown || event.kind == EventKind::MouseUp ||
                       event.kind == EventKind::MouseMove || event.kind == EventKind::KeyDown ||
                       event.kind == EventKind::KeyUp || event.kind == EventKind::Char;
    TForm* modal = ModalForm();
    if (input && modal != nullptr && modal != form) return;
    if (event.kind == EventKind::Close && modal != nullptr && modal != form) {
      // Closing the main window under a modal one ends the program.
      Terminate();
      return;
    }
    form->HandleEvent(event);
    return;
  }
}

void TApplication::PopModal(TForm* form) {
  auto it = std::find(modal_.begin(), modal_.end(), form);
  if (it != modal_.end()) modal_.erase(it);
}

void TApplication::setActive(bool active) {
  if (active_ == active) return;
  active_ = active;
  PostToMainWindow(active ? CM_ACTIVATE : CM_DEACTIVATE);
}

int TApplication::HookMainWindow(TWindowHook hook) {
  const int id = nextHookId_++;
  hooks_.emplace_back(id, std::move(hook));
  return id;
}

void TApplication::UnhookMainWindow(int id) {
  hooks_.erase(
      std::remove_if(hooks_.begin(), hooks_.end(), [id](const auto& h) { return h.first == id; }),
      hooks_.end());
}

void TApplication::SendToMainWindow(TMessage& message) {
  // A hook may unhook itself while it runs: walk a copy.
  const auto hooks = hooks_;
  for (const auto& [id, hook] : hooks) {
    if (hook(message)) return;
  }
  if (mainForm_ != nullptr) mainForm_->WindowProc(message);
}

void TApplication::PostToMainWindow(uint32_t msg, int64_t wParam, int64_t lParam) {
  TMessage message;
  message.Msg = msg;
  message.WParam = wParam;
  message.LParam = lParam;
  posted_.push_back(message);
}

void TApplication::HandleException(const std::exception& e) { MessageBox(e.what(), Title); }

void TApplication::MessageBox(const std::string& text, const std::string& caption) {
  if (OnShowMessage) {
    OnShowMessage(text);
    return;
  }
  ShowMessageBox(*this, text, caption.empty() ? Title : caption);
}

void TApplication::RegisterWindow(uint32_t windowId, TForm* form) {
  windows_.emplace_back(windowId, form);
}

void TApplication::UnregisterWindow(uint32_t windowId) {
  windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                [windowId](const auto& w) { return w.first == windowId; }),
                 windows_.end());
}

void TApplication::FormDestroyed(TForm* form) {
  windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                [form](const auto& w) { return w.second == form; }),
                 windows_.end());
  PopModal(form);
  if (mainForm_ == form) mainForm_ = nullptr;
}
