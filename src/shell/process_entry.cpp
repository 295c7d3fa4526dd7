#include "shell/process_entry.h"

#include "core/names.h"
#include "core/resource_ids.h"
#include "core/slot_rules.h"
#include "forms/application.h"
#include "main_form/main_form.h"
#include "platform/owned_handles.h"

namespace tivoler {

void SendToRunningInstance(OsPort& os, const std::vector<std::string>& args) {
  const Handle running = os.FindWindowA(kWindowTitle);
  if (running == kNoHandle) return;
  constexpr intptr_t kNoParam = -1;
  if (args.empty()) {
    os.SendMessageA(running, os.RegisterWindowMessageA(kDoubleExecuteMessage), kShowRequestWParam,
                    kShowRequestLParam);
    return;
  }
  const unsigned getParam = os.RegisterWindowMessageA(kDoubleExeGetParamMessage);
  for (const std::string& argument : args) {
    const int slot = ParseSlotArgument(argument);
    if (slot >= 1 && slot <= kSlotCount) {
      os.SendMessageA(running, getParam, static_cast<uintptr_t>(slot), kNoParam);
    }
  }
}

int RunTivoler(OsPort& os, Backend* backend, const std::vector<std::string>& args) {
  // Only whether the mutex exists matters: the handle is closed at once.
  const bool running = static_cast<bool>(
      OwnedKernelHandle(os, os.OpenMutexA(win::kMutexAllAccess, false, kMutexName)));
  if (running) {
    SendToRunningInstance(os, args);
    return 0;
  }
  // Held until the process ends; the name goes with the process.
  os.CreateMutexA(false, kMutexName);

  TApplication app(os, backend);
  app.Title = kApplicationTitle;
  app.IconName = kIconMain;
  app.Initialize();
  os.ShowWindow(app.AppHandle(), win::kSwHide);
  app.ShowMainForm = false;
  try {
    TMainForm form(app, args);
    app.CreateForm(form);
    app.Run();
  } catch (const std::exception& error) {
    app.ShowException(error);
  }
  return 0;
}

}  // namespace tivoler
