// The cursor preview: one role of the system's cursor scheme at a time, and the
// ways to change its file (open dialog, drop, back to the built-in cursor).
#include "main_form/main_form.h"

namespace tivoler {

namespace {
constexpr uint32_t kQueryFileCount = 0xFFFFFFFFu;
constexpr uint32_t kPathBuffer = 260;

// The text from the last "." that stands after the last "\" or ":", dot included.
std::string Extension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t separator = path.find_last_of("\\:");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
    return std::string();
  }
  return path.substr(dot);
}
}  // namespace

void TMainForm::CreateCursorPanel() {
  CursorST.SetBounds(8, 176, 125, 16);
  DropPanel.SetBounds(10, 206, 124, 34);
  DropPanel.PopupMenu = &CursorMenu;
  PaintBox.SetBounds(0, 0, 33, 33);
  CursorLabel.SetBounds(38, 18, 84, 14);
  PreCursorButton.SetBounds(4, 243, 68, 20);
  NextCursorButton.SetBounds(72, 243, 68, 20);

  PaintBox.OnPaint = [this](TCanvas& canvas) { PaintBoxPaint(canvas); };
  for (TControl* area : {static_cast<TControl*>(&DropPanel), static_cast<TControl*>(&PaintBox),
                         static_cast<TControl*>(&CursorLabel)}) {
    area->OnDblClick = [this] { MnOpenCursorClick(); };
  }
  NextCursorButton.OnClick = [this] { NextCursorButtonClick(); };
  PreCursorButton.OnClick = [this] { PreCursorButtonClick(); };
  MnOpenCursor.OnClick = [this] { MnOpenCursorClick(); };
  MnSetDefault.OnClick = [this] { MnSetDefaultClick(); };
  MnRepair.OnClick = [this] { MnRepairClick(); };
  MnReloadCursors.OnClick = [this] { MnRepairClick(); };
}

bool TMainForm::ShowRole() {
  const TMouseProfile& previous = Profile(0);
  if (CurrentRole < 0 || CurrentRole >= previous.CursorRoles.Count()) {
    // No cursor scheme to show (its registry key was missing): show nothing.
    PreviewCursor.Clear();
    CursorLabel.SetCaption("");
    PaintBox.Repaint();
    return true;
  }
  const std::string file =
      CurrentRole < previous.CursorFiles.Count() ? previous.CursorFiles[CurrentRole] : "";
  if (CurrentRole < kStandardRoleCount && file.empty()) {
    PreviewCursor.ShowBuiltIn(Os(), kStandardRoles[static_cast<size_t>(CurrentRole)].CursorId);
  } else {
    LoadPreviewFromFile(scheme_.ExpandPath(file));
  }
  CursorLabel.SetCaption(previous.CursorRoles[CurrentRole]);
  PaintBox.Repaint();
  return true;
}

void TMainForm::LoadPreviewFromFile(const std::string& path) { PreviewCursor.ShowFile(Os(), path); }

bool TMainForm::IsLoadableCursor(const std::string& path) {
  return static_cast<bool>(OwnedFileCursor(Os(), Os().LoadCursorImage(path)));
}

bool TMainForm::SetCurrentRoleFile(const std::string& path) {
  TMouseProfile& previous = Profile(0);
  if (CurrentRole < 0 || CurrentRole >= previous.CursorRoles.Count()) return false;
  std::string file = path;
  const std::string extension = Extension(path);
  if (extension == ".cur" || extension == ".ani") {
    if (!IsLoadableCursor(path)) return false;
    file = scheme_.UnexpandPath(path);
  } else if (!path.empty()) {
    return false;
  }
  scheme_.SetRoleFile(previous.CursorRoles[CurrentRole], file);
  if (previous.CursorFiles.Count() < previous.CursorRoles.Count()) {
    previous.CursorFiles.Resize(previous.CursorRoles.Count());
  }
  previous.CursorFiles[CurrentRole] = file;
  ArmSave();
  ShowRole();
  return true;
}

std::optional<std::string> TMainForm::DroppedFileName(TMessage& msg) {
  std::optional<std::string> name;
  {
    // Released whether or not a file came, so that no drop is left behind.
    const OwnedDrop drop(Os(), static_cast<Handle>(msg.WParam));
    if (Os().DragQueryFileA(drop.Get(), kQueryFileCount, nullptr, 0) > 0) {
      char buffer[kPathBuffer] = {};
      Os().DragQueryFileA(drop.Get(), 0, buffer, kPathBuffer);
      name = std::string(buffer);
    }
  }
  if (name && name->size() > 5 && name->compare(name->size() - 4, 4, ".lnk") == 0) {
    const std::string target = Os().ResolveShortcut(*name, App().AppHandle());
    // A shortcut that leads nowhere changes nothing, rather than resetting the role.
    if (target.empty()) return std::nullopt;
    name = target;
  }
  return name;
}

void TMainForm::DropHandler(TMessage& msg) {
  if (msg.Msg != wm::kDropFiles) {
    dropPanelProc_(msg);
    return;
  }
  msg.Result = 0;
  if (const std::optional<std::string> name = DroppedFileName(msg)) SetCurrentRoleFile(*name);
}

void TMainForm::InstallDropTarget() {
  dropPanelProc_ = DropPanel.WindowProc;
  Os().DragAcceptFiles(DropPanel.Peer() ? DropPanel.Peer()->WindowHandle() : kNoHandle, true);
  DropPanel.WindowProc = [this](TMessage& msg) { DropHandler(msg); };
}

void TMainForm::RemoveDropTarget() {
  if (!dropPanelProc_) return;
  DropPanel.WindowProc = dropPanelProc_;
  dropPanelProc_ = nullptr;
  Os().DragAcceptFiles(DropPanel.Peer() ? DropPanel.Peer()->WindowHandle() : kNoHandle, false);
  PreviewCursor.Clear();
}

void TMainForm::NextCursorButtonClick() {
  const int count = Profile(0).CursorRoles.Count();
  if (++CurrentRole >= count) CurrentRole = 0;
  ShowRole();
}

void TMainForm::PreCursorButtonClick() {
  const int count = Profile(0).CursorRoles.Count();
  if (--CurrentRole < 0) CurrentRole = count > 0 ? count - 1 : 0;
  ShowRole();
}

void TMainForm::MnOpenCursorClick() {
  std::string name;
  if (Os().GetOpenFileNameA(WindowHandle(), CursorOpenFilter, "", &name)) SetCurrentRoleFile(name);
}

void TMainForm::MnSetDefaultClick() { SetCurrentRoleFile(""); }

void TMainForm::MnRepairClick() { scheme_.ReloadSystemCursors(); }

void TMainForm::PaintBoxPaint(TCanvas& canvas) {
  if (PreviewCursor.Get() != kNoHandle) canvas.DrawIcon(0, 0, PreviewCursor.Get());
}

void TMainForm::MnCreateShortCutClick() {
  const std::string slot = std::to_string(CurrentSlot);
  std::string name = "Tivoler Button" + slot + ".lnk";
  if (!Os().GetSaveFileNameA(WindowHandle(), SaveDialogFilter, "lnk", &name)) return;
  Os().CreateShellLink(Os().GetModuleFileNameA(), name, slot);
}

}  // namespace tivoler
