// The settings file as the main window uses it: reading the options and profiles
// at start, writing them at the end, and deleting the file on request.
#include "core/settings_file.h"

#include <stdexcept>

#include "main_form/main_form.h"

namespace tivoler {

namespace {
std::string BoolText(bool value) { return value ? "true" : "false"; }
}  // namespace

void TMainForm::LoadSettings() {
  const std::string path = GetSettingsPath(Os());
  if (path.empty()) {
    // Without a place for the file the program still works; it only forgets.
    Os().MessageBoxA(WindowHandle(), Text(kTextNoSettingsFolder), kApplicationTitle,
                     win::kMbOk | win::kMbIconExclamation);
    PlaceWindow();
    RefreshAllSlots();
    return;
  }
  if (!FileExists(Os(), path)) {
    const TStringList defaults{"PositionX=" + std::to_string(Left()),
                               "PositionY=" + std::to_string(Top()),
                               "NonClose=false",
                               "SetAndClose=false",
                               "MinimizeStart=false",
                               "LoadPrevious=false",
                               "OriginRightBottom=false",
                               "SetType=0",
                               "ShowMethod=0"};
    if (!ForceDirectories(Os(), ExtractFileDir(path))) {
      throw std::runtime_error("Cannot create file \"" + path + "\"");
    }
    WriteFileSafely(Os(), path, defaults.Text());
  }
  std::string content;
  if (!Os().ReadWholeFile(path, &content)) {
    throw std::runtime_error("Cannot open file \"" + path + "\"");
  }
  TStringList lines;
  lines.SetText(content);

  auto present = [&](const char* key) { return KeyPresent(lines, key); };
  auto value = [&](const char* key) { return present(key) ? lines.Value(key) : std::string(); };
  auto readBool = [&](const char* key, TCheckBox& box) {
    if (LowerAscii(value(key)) == "true") box.SetChecked(true);
  };

  if (present("PositionX")) PositionX = SignedDecimalValue(value("PositionX"));
  if (present("PositionY")) PositionY = SignedDecimalValue(value("PositionY"));
  readBool("NonClose", NonCloseCB);
  readBool("SetAndClose", SetAndCloseCB);
  readBool("MinimizeStart", MinimizeStartCB);
  readBool("LoadPrevious", LoadPreviousCB);
  readBool("OriginRightBottom", OriginRightBottomCB);
  const int setType = DecimalValue(value("SetType"));
  SetTypeRG.SetItemIndex(setType > 2 ? 2 : setType);
  SetTypeRGClick();
  if (present("ShowMethod")) {
    ShowMethodCB.SetItemIndex(DecimalValue(value("ShowMethod")));
    UpdateShowMenuCaption();
  } else {
    ShowMethodCB.SetItemIndex(0);
  }

  PlaceWindow();
  for (int i = 0; i < kProfileCount; ++i) Profile(i).LoadFromList(lines, i);
  CheckDeviceBindings();
  CheckProgramBindings();
  RefreshAllSlots();
}

void TMainForm::SaveSettings() {
  const std::string path = GetSettingsPath(Os());
  if (path.empty() || !DirectoryExists(Os(), ExtractFileDir(path))) return;
  RecordPosition();
  TStringList lines{"PositionX=" + std::to_string(PositionX),
                    "PositionY=" + std::to_string(PositionY),
                    "NonClose=" + BoolText(NonCloseCB.Checked()),
                    "SetAndClose=" + BoolText(SetAndCloseCB.Checked()),
                    "MinimizeStart=" + BoolText(MinimizeStartCB.Checked()),
                    "LoadPrevious=" + BoolText(LoadPreviousCB.Checked()),
                    "OriginRightBottom=" + BoolText(OriginRightBottomCB.Checked()),
                    "SetType=" + std::to_string(SetTypeRG.ItemIndex()),
                    "ShowMethod=" + std::to_string(ShowMethodCB.ItemIndex())};
  for (int i = 0; i < kProfileCount; ++i) {
    if (Profile(i).IsSet()) Profile(i).SaveToList(lines, i);
  }
  WriteFileSafely(Os(), path, lines.Text());
}

void TMainForm::DelSettingButtonClick() {
  const std::string path = GetSettingsPath(Os());
  const bool removed =
      !path.empty() && Os().DeleteFileA(path) && Os().RemoveDirectoryA(ExtractFileDir(path));
  if (removed) {
    Os().MessageBeep(win::kMbIconAsterisk);
    Os().MessageBoxA(WindowHandle(), Text(kTextUninstallDone), kApplicationTitle, win::kMbOk);
    DelSettingButton.SetEnabled(false);
  } else {
    Os().MessageBeep(win::kMbIconHand);
    Os().MessageBoxA(WindowHandle(), Text(kTextUninstallFailed), kApplicationTitle, win::kMbOk);
  }
}

}  // namespace tivoler
