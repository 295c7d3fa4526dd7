#include "core/bound_programs.h"

#include "core/pointing_devices.h"

namespace tivoler {

std::string ProgramFileName(OsPort& os, const std::string& path) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (c == '\\' || c == '/' || c == ':') {
      start = i + 1;
    } else if (os.IsDBCSLeadByte(static_cast<unsigned char>(c))) {
      ++i;  // its second byte may look like a backslash
    }
  }
  return path.substr(start < path.size() ? start : path.size());
}

std::string ProgramListText(const std::vector<std::string>& programs) {
  std::string text;
  for (const std::string& program : programs) {
    if (!text.empty()) text += '|';
    text += EscapedListText(program);
  }
  return text;
}

std::vector<std::string> SplitProgramList(const std::string& text) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('|', start);
    if (end == std::string::npos) end = text.size();
    names.push_back(UnescapedListText(text.substr(start, end - start), std::string::npos));
    start = end + 1;
  }
  return names;
}

bool SameProgram(OsPort& os, const std::string& a, const std::string& b) {
  return os.SameTextIgnoreCase(a, b);
}

std::vector<std::string> KeptProgramNames(OsPort& os, const std::vector<std::string>& names,
                                          std::vector<std::string>& taken) {
  std::vector<std::string> programs;
  for (const std::string& name : names) {
    if (programs.size() >= kMaxProgramsPerSlot) break;
    const std::string file = ProgramFileName(os, name);
    if (file.empty() || file.size() > kMaxProgramNameLength) continue;
    bool seen = false;
    for (const std::string& other : taken) seen = seen || SameProgram(os, other, file);
    if (seen) continue;
    programs.push_back(file);
    taken.push_back(file);
  }
  return programs;
}

bool IsPassingWindowClass(const std::string& className) {
  static const char* const kClasses[] = {
      "Shell_TrayWnd",
      "Shell_SecondaryTrayWnd",
      "NotifyIconOverflowWindow",
      "TopLevelWindowForOverflowXamlIsland",
      "MultitaskingViewFrame",
      "TaskSwitcherWnd",
      "XamlExplorerHostIslandWindow",
      "ForegroundStaging",
      "#32768",
  };
  for (const char* name : kClasses) {
    if (className == name) return true;
  }
  return false;
}

}  // namespace tivoler
