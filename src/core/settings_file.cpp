// The settings file's plain rules: where it lives, how numbers are read, and
// how it is replaced without ever leaving a partial file.
#include "core/settings_file.h"

#include <stdexcept>

namespace tivoler {

namespace {
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

int SignedDecimalValue(const std::string& text) {
  const std::string trimmed = Trim(text);
  if (!trimmed.empty() && trimmed[0] == '-') return -DecimalValue(trimmed.substr(1));
  return DecimalValue(trimmed);
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

}  // namespace tivoler
