// The application object: hidden application window, main form, message loop and
// the standard error box for errors that escape an event handler.
#pragma once

#include <exception>
#include <functional>
#include <set>
#include <string>

#include "forms/backend.h"
#include "platform/os_port.h"

namespace tivoler {

class TApplication {
 public:
  TApplication(OsPort& os, Backend* backend) : os_(os), backend_(backend) {}
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  OsPort& Os() { return os_; }
  Backend* GetBackend() { return backend_; }

  std::string Title;
  // The program's icon, a resource name of its module: the icon of its forms' windows.
  std::string IconName;
  bool ShowMainForm = true;
  int HintHidePause = 2500;
  std::function<void()> OnMinimize;

  // Creates the hidden application window.
  void Initialize();
  Handle AppHandle() const { return handle_; }
  // A message that reached the hidden application window; false when it is left to
  // the window system. A close or a minimise request is one of the application (its
  // main form closes through its close query); registered messages go to the main
  // form, since other programs may find this window by the title the two share.
  bool HandleApplicationMessage(TMessage& msg);

  // A message that the system sends to every top-level window (the shell's
  // "TaskbarCreated", a change of the system's settings). The application window always
  // receives it, the main form's window may as well; the main form takes it from the
  // application window only, so that it is handled once.
  void AddBroadcastMessage(unsigned msg) { broadcastMessages_.insert(msg); }
  bool IsBroadcastMessage(unsigned msg) const { return broadcastMessages_.count(msg) != 0; }

  // Makes form the main form and creates its window (this runs FormCreate).
  void CreateForm(TForm& form);
  TForm* MainForm() const { return mainForm_; }

  // Message loop; returns after Terminate, with the main form's window destroyed.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Minimises the application: runs OnMinimize, then hides the main form.
  void Minimize();

  // The standard error box: the error's message, captioned with the title.
  void ShowException(const std::exception& error);
  // Runs a handler; an error escaping it ends the handler and is shown.
  void Guard(const std::function<void()>& handler);

 private:
  OsPort& os_;
  Backend* backend_;
  Handle handle_ = kNoHandle;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  std::set<unsigned> broadcastMessages_;
};

}  // namespace tivoler
