#include "core/cursor_scheme.h"

#include <vector>

namespace tivoler {

const char kCursorsKey[] = "Control Panel\\Cursors";

const std::array<StandardCursorRole, kStandardRoleCount> kStandardRoles = {{
    {"Arrow", 32512},
    {"Help", 32651},
    {"AppStarting", 32650},
    {"Wait", 32514},
    {"Crosshair", 32515},
    {"IBeam", 32513},
    {"NWPen", 32631},
    {"No", 32648},
    {"SizeNS", 32645},
    {"SizeWE", 32644},
    {"SizeNWSE", 32642},
    {"SizeNESW", 32643},
    {"SizeAll", 32646},
    {"UpArrow", 32516},
    {"Hand", 32649},
}};

std::string CursorScheme::ReadRole(const TRegistry& reg, const std::string& role) {
  std::string text;
  return reg.ReadStringIfText(role, &text) ? text : std::string();
}

bool CursorScheme::NamesExistingFile(const std::string& text) {
  const uint32_t attributes = os_.GetFileAttributesA(ExpandPath(text));
  return attributes != win::kInvalidFileAttributes &&
         (attributes & win::kFileAttributeDirectory) == 0;
}

void CursorScheme::LoadSystemScheme(TStringList& roles, TStringList& files) {
  roles.Clear();
  files.Clear();
  // Watched from before the read, like ReadSchemeFiles: what is read here serves the
  // next ReadSchemeFiles of the same roles (storing profile 0 when the window first
  // shows) while the key stays unchanged.
  KeyUnchangedSinceLastRead();
  haveLastRead_ = false;
  TRegistry reg(os_);
  if (!reg.OpenKey(kCursorsKey)) return;
  for (const StandardCursorRole& role : kStandardRoles) roles.Add(role.Name);
  for (const std::string& name : reg.GetValueNames()) {
    if (reg.GetDataType(name) != TRegDataType::ExpandString) continue;
    bool standard = false;
    for (const StandardCursorRole& role : kStandardRoles) {
      if (os_.SameTextIgnoreCase(name, role.Name)) {
        standard = true;
        break;
      }
    }
    if (!standard) roles.Add(name);
  }
  for (const std::string& role : roles.Lines()) files.Add(ReadRole(reg, role));
  lastRoles_ = roles;
  lastFiles_ = files;
  haveLastRead_ = static_cast<bool>(watch_);
}

bool CursorScheme::KeyUnchangedSinceLastRead() {
  if (watch_) {
    const KeyWatchState state = os_.KeyChanged(watch_.Get());
    if (state == KeyWatchState::Unchanged) return haveLastRead_;
    if (state == KeyWatchState::Changed) return false;
    // The key was deleted (perhaps made again by an import): watch the key there is now.
    watch_.Reset();
  }
  watch_ = OwnedKeyWatch(os_, os_.WatchKey(kCursorsKey));
  return false;
}

bool CursorScheme::ReadSchemeFiles(const TStringList& roles, TStringList& files) {
  // The watch is armed again before the read: a change during the read shows next time.
  if (KeyUnchangedSinceLastRead() && roles.Lines() == lastRoles_.Lines()) {
    for (const std::string& file : lastFiles_.Lines()) files.Add(file);
    return true;
  }
  haveLastRead_ = false;
  TRegistry reg(os_);
  if (!reg.OpenKey(kCursorsKey)) return false;
  lastFiles_.Clear();
  for (const std::string& role : roles.Lines()) lastFiles_.Add(ReadRole(reg, role));
  for (const std::string& file : lastFiles_.Lines()) files.Add(file);
  lastRoles_ = roles;
  haveLastRead_ = static_cast<bool>(watch_);
  return true;
}

void CursorScheme::ForgetLastRead() { haveLastRead_ = false; }

bool CursorScheme::ApplyScheme(const TStringList& roles, const TStringList& files) {
  int written = 0;
  {
    TRegistry reg(os_);
    if (!reg.OpenKey(kCursorsKey)) return false;
    // A role without a line in files has no wanted file: it is left alone.
    for (int i = 0; i < roles.Count() && i < files.Count(); ++i) {
      const std::string current = ReadRole(reg, roles[i]);
      const std::string& wanted = files[i];
      const bool write = (wanted.empty() && !current.empty()) ||
                         (wanted != current && !wanted.empty() && NamesExistingFile(wanted));
      if (write) {
        ForgetLastRead();
        reg.WriteExpandString(roles[i], wanted);
        ++written;
      }
    }
  }
  if (written > 0) ReloadSystemCursors();
  return true;
}

bool CursorScheme::SetRoleFile(const std::string& role, const std::string& file) {
  TRegistry reg(os_);
  if (!reg.OpenKey(kCursorsKey)) return false;
  if (file.empty() || NamesExistingFile(file)) {
    ForgetLastRead();
    reg.WriteExpandString(role, file);
    ReloadSystemCursors();
  }
  return true;
}

void CursorScheme::ReloadSystemCursors() {
  int failures = 0;
  while (!os_.SystemParametersInfoA(win::kSpiSetCursors, 0, nullptr, 0)) {
    os_.Sleep(100);
    if (++failures > 10) break;
  }
}

std::string CursorScheme::ExpandPath(const std::string& text) {
  const uint32_t size = os_.ExpandEnvironmentStringsA(text, nullptr, 0);
  if (size == 0) return text;
  std::vector<char> buffer(size + 1, '\0');
  os_.ExpandEnvironmentStringsA(text, buffer.data(), size);
  return std::string(buffer.data());
}

std::string CursorScheme::UnexpandPath(const std::string& text) {
  char buffer[256] = {};
  if (os_.PathUnExpandEnvStringsA(text, buffer, sizeof buffer)) return std::string(buffer);
  return text;
}

}  // namespace tivoler
