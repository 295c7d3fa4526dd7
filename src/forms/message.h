// A window message as the portable code sees it.
#pragma once

#include <cstdint>

namespace tivoler {

struct TMessage {
  unsigned Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Message numbers the portable code acts on (the forms and the main window alike).
namespace wm {
constexpr unsigned kClose = 0x0010;
constexpr unsigned kQueryEndSession = 0x0011;
constexpr unsigned kShowWindow = 0x0018;
constexpr unsigned kSettingChange = 0x001A;  // wParam: the system parameter's set action
constexpr unsigned kInputDeviceChange = 0x00FE;
constexpr unsigned kInput = 0x00FF;
constexpr unsigned kSysCommand = 0x0112;
constexpr unsigned kTimer = 0x0113;
constexpr unsigned kLButtonUp = 0x0202;
constexpr unsigned kRButtonUp = 0x0205;
constexpr unsigned kDropFiles = 0x0233;
constexpr unsigned kUser = 0x0400;
constexpr unsigned kApp = 0x8000;
constexpr unsigned kFirstRegistered = 0xC000;  // RegisterWindowMessage range
constexpr unsigned kLastRegistered = 0xFFFF;
constexpr uintptr_t kScMinimize = 0xF020;  // WM_SYSCOMMAND's wParam, low four bits masked
}  // namespace wm

}  // namespace tivoler
