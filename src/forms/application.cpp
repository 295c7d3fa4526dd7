#include "forms/application.h"

#include "forms/form.h"

namespace tivoler {

void TApplication::Initialize() {
  if (backend_ && handle_ == kNoHandle) handle_ = backend_->CreateApplicationWindow(*this);
}

bool TApplication::HandleApplicationMessage(TMessage& msg) {
  if (!mainForm_) return false;
  if (msg.Msg == wm::kSysCommand && (msg.WParam & 0xFFF0) == wm::kScMinimize) {
    Minimize();
    msg.Result = 0;
    return true;
  }
  if (msg.Msg == wm::kClose || IsBroadcastMessage(msg.Msg) ||
      (msg.Msg >= wm::kFirstRegistered && msg.Msg <= wm::kLastRegistered)) {
    mainForm_->Dispatch(msg);
    return true;
  }
  return false;
}

void TApplication::CreateForm(TForm& form) {
  if (!mainForm_) mainForm_ = &form;
  form.CreateWindowAndRun();
}

void TApplication::Run() {
  if (mainForm_ && ShowMainForm) mainForm_->Show();
  if (backend_ && !terminated_) backend_->RunMessageLoop(*this);
  if (mainForm_) mainForm_->DestroyWindowAndRun();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (backend_) backend_->Quit();
}

void TApplication::Minimize() {
  // OnMinimize does the program's part first (it may hide the main form its own way);
  // then the main form is out of sight, as there is no taskbar button to minimise to.
  if (OnMinimize) Guard(OnMinimize);
  if (mainForm_ && mainForm_->Visible()) Guard([this] { mainForm_->Hide(); });
}

void TApplication::ShowException(const std::exception& error) {
  std::string text = error.what();
  if (!text.empty() && text.back() != '.') text += '.';
  os_.MessageBoxA(handle_, text, Title, win::kMbOk | win::kMbIconHand);
}

void TApplication::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

}  // namespace tivoler
