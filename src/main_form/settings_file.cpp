// The settings file as the main window uses it: reading the options and profiles
// at start, writing them about a second after each burst of changes and at the end,
// and deleting the file on request.
#include "core/settings_file.h"

#include <algorithm>
#include <stdexcept>

#include "main_form/main_form.h"

namespace tivoler {

namespace {

std::string BoolText(bool value) { return value ? "true" : "false"; }

// "left,top,width,height" in decimal; an empty rectangle unless there are four parts.
// Only a rectangle equal to a monitor's is ever used, so no more is checked here.
TRect ReadRectangle(const std::string& text) {
  if (std::count(text.begin(), text.end(), ',') != 3) return TRect{};
  int values[4];
  size_t start = 0;
  for (int& value : values) {
    const size_t end = std::min(text.find(',', start), text.size());
    value = SignedDecimalValue(text.substr(start, end - start));
    start = end + 1;
  }
  return TRect{values[0], values[1], values[2], values[3]};
}

std::string RectangleText(const TRect& r) {
  return std::to_string(r.Left) + ',' + std::to_string(r.Top) + ',' + std::to_string(r.Width) +
         ',' + std::to_string(r.Height);
}

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
  if (present("PositionMonitor")) PositionMonitor = ReadRectangle(value("PositionMonitor"));
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
  settingsText_ = content;
  settingsRead_ = true;
}

std::string TMainForm::SettingsText() {
  TStringList lines{"PositionX=" + std::to_string(PositionX),
                    "PositionY=" + std::to_string(PositionY),
                    "NonClose=" + BoolText(NonCloseCB.Checked()),
                    "SetAndClose=" + BoolText(SetAndCloseCB.Checked()),
                    "MinimizeStart=" + BoolText(MinimizeStartCB.Checked()),
                    "LoadPrevious=" + BoolText(LoadPreviousCB.Checked()),
                    "OriginRightBottom=" + BoolText(OriginRightBottomCB.Checked()),
                    "SetType=" + std::to_string(SetTypeRG.ItemIndex()),
                    "ShowMethod=" + std::to_string(ShowMethodCB.ItemIndex())};
  // Distances from the right-bottom corner name their monitor unless it is the primary
  // one (whose origin is 0,0), which is where a file without the line places them.
  if (OriginRightBottomCB.Checked() && (PositionMonitor.Left != 0 || PositionMonitor.Top != 0)) {
    lines.Add("PositionMonitor=" + RectangleText(PositionMonitor));
  }
  for (int i = 0; i < kProfileCount; ++i) {
    if (Profile(i).IsSet()) Profile(i).SaveToList(lines, i);
  }
  return lines.Text();
}

void TMainForm::SaveSettings() {
  SaveTimer.SetEnabled(false);
  if (uninstalled_) return;
  const std::string path = GetSettingsPath(Os());
  if (path.empty() || !DirectoryExists(Os(), ExtractFileDir(path))) return;
  RecordPosition();
  const std::string text = SettingsText();
  if (text == settingsText_ && FileExists(Os(), path)) return;
  WriteFileSafely(Os(), path, text);
  settingsText_ = text;
}

void TMainForm::ArmSave() {
  if (settingsRead_ && !uninstalled_) SaveTimer.Restart();
}

void TMainForm::SaveTimerTimer() {
  try {
    SaveSettings();
  } catch (const std::exception&) {
    // Everything stays in memory; the next change and the close try again. The error
    // box comes once per run, not with every change.
    if (saveErrorShown_) return;
    saveErrorShown_ = true;
    throw;
  }
}

void TMainForm::DelSettingButtonClick() {
  const std::string path = GetSettingsPath(Os());
  const bool removed =
      !path.empty() && Os().DeleteFileA(path) && Os().RemoveDirectoryA(ExtractFileDir(path));
  if (removed) {
    Os().MessageBeep(win::kMbIconAsterisk);
    Os().MessageBoxA(WindowHandle(), Text(kTextUninstallDone), kApplicationTitle, win::kMbOk);
    DelSettingButton.SetEnabled(false);
    // Nothing is written again in this run.
    uninstalled_ = true;
    SaveTimer.SetEnabled(false);
  } else {
    Os().MessageBeep(win::kMbIconHand);
    Os().MessageBoxA(WindowHandle(), Text(kTextUninstallFailed), kApplicationTitle, win::kMbOk);
  }
}

}  // namespace tivoler
