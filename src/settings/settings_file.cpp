#include "settings/settings_file.h"

#include <stdexcept>

#include "shell/main_form.h"

namespace tivoler {

namespace {
constexpr int kNoSettingsFolderText = 2123;

std::string BoolText(bool value) { return value ? "true" : "false"; }

// Blanks and control characters at both ends removed.
std::string Trim(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}
}  // namespace

bool ReadDecimal(const std::string& text, int* value) {
  *value = 0;
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return false;
  const size_t count = trimmed.size() < 9 ? trimmed.size() : 9;
  for (size_t i = 0; i < count; ++i) {
    const char c = trimmed[i];
    if (c < '0' || c > '9') return false;
    *value = *value * 10 + (c - '0');
  }
  return true;
}

int DecimalValue(const std::string& text) {
  int value = 0;
  ReadDecimal(text, &value);
  return value;
}

bool KeyPresent(const TStringList& lines, const std::string& key) {
  for (const std::string& line : lines.Lines()) {
    if (line.find(key) != std::string::npos) return true;
  }
  return false;
}

std::string GetSettingsPath(OsPort& os) {
  std::string folder;
  if (os.SHGetFolderPathA(win::kCsidlLocalAppData, &folder) != win::kSOk || folder.empty()) {
    return std::string();
  }
  if (folder.back() != '\\') folder += '\\';
  return folder + "tivoler\\tivoler.ini";
}

bool FileExists(OsPort& os, const std::string& path) {
  const uint32_t attributes = os.GetFileAttributesA(path);
  return attributes != win::kInvalidFileAttributes &&
         (attributes & win::kFileAttributeDirectory) == 0;
}

bool DirectoryExists(OsPort& os, const std::string& path) {
  const uint32_t attributes = os.GetFileAttributesA(path);
  return attributes != win::kInvalidFileAttributes &&
         (attributes & win::kFileAttributeDirectory) != 0;
}

std::string ExtractFileDir(const std::string& path) {
  const size_t slash = path.find_last_of("\\:");
  if (slash == std::string::npos) return std::string();
  // Keep the backslash of a drive's root ("C:\").
  if (path[slash] == '\\' && slash > 0 && path[slash - 1] != ':') return path.substr(0, slash);
  return path.substr(0, slash + 1);
}

bool ForceDirectories(OsPort& os, const std::string& path) {
  std::string folder = path;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (folder.empty() || DirectoryExists(os, folder) || folder.back() == ':') return true;
  const std::string parent = ExtractFileDir(folder);
  if (parent != folder && !parent.empty() && !ForceDirectories(os, parent)) return false;
  return os.CreateDirectoryA(folder) || DirectoryExists(os, folder);
}

void WriteFileSafely(OsPort& os, const std::string& path, const std::string& content) {
  const std::string temporary = path + ".new";
  if (!os.WriteWholeFile(temporary, content) ||
      !os.MoveFileExA(temporary, path,
                      win::kMoveFileReplaceExisting | win::kMoveFileWriteThrough)) {
    os.DeleteFileA(temporary);
    throw std::runtime_error("Cannot create file \"" + path + "\"");
  }
}

// ---- the main window's use of the file ----

void TMainForm::LoadSettings() {
  const std::string path = GetSettingsPath(Os());
  if (path.empty()) {
    // Without a place for the file the program still works; it only forgets.
    Os().MessageBoxA(WindowHandle(), Text(kNoSettingsFolderText), kApplicationTitle,
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
  auto value = [&](const char* key) {
    return present(key) ? lines.Value(key) : std::string();
  };
  auto readBool = [&](const char* key, TCheckBox& box) {
    if (LowerAscii(value(key)) == "true") box.SetChecked(true);
  };

  if (present("PositionX")) PositionX = DecimalValue(value("PositionX"));
  if (present("PositionY")) PositionY = DecimalValue(value("PositionY"));
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
  const bool removed = !path.empty() && Os().DeleteFileA(path) &&
                       Os().RemoveDirectoryA(ExtractFileDir(path));
  if (removed) {
    Os().MessageBeep(win::kMbIconAsterisk);
    Os().MessageBoxA(WindowHandle(), Text(2121), kApplicationTitle, win::kMbOk);
    DelSettingButton.SetEnabled(false);
  } else {
    Os().MessageBeep(win::kMbIconHand);
    Os().MessageBoxA(WindowHandle(), Text(2122), kApplicationTitle, win::kMbOk);
  }
}

}  // namespace tivoler
