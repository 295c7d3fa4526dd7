#include "forms/application.h"

#include "forms/form.h"

namespace tivoler {

void TApplication::Initialize() {
  if (backend_ && handle_ == kNoHandle) handle_ = backend_->CreateApplicationWindow(*this);
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
  if (OnMinimize) Guard(OnMinimize);
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
