// What a window system supplies to the form library. Without a backend (native
// tests) forms and timers are plain state; the Win32 backend gives them real windows.
#pragma once

#include <memory>
#include <string>

#include "forms/message.h"
#include "platform/os_port.h"

namespace tivoler {

class TApplication;
class TForm;
class TTimer;
class TControl;
class ControlPeer;
class TPopupMenu;
class TMenuItem;

// A font; an empty name means the font of the surrounding form.
struct TFont {
  std::string Name;
  int Height = 0;   // pixels
  int Charset = 0;  // ANSI_CHARSET 0, SHIFTJIS_CHARSET 128
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int Right() const { return Left + Width; }
  int Bottom() const { return Top + Height; }
  bool operator==(const TRect& other) const {
    return Left == other.Left && Top == other.Top && Width == other.Width && Height == other.Height;
  }
};

class FormPeer {
 public:
  virtual ~FormPeer() = default;
  virtual Handle WindowHandle() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetBounds(const TRect& outer) = 0;
  // Outer size minus client size: the frame the window really has.
  virtual void FrameExtent(int* width, int* height) const = 0;
  // The window system's own handling of a message the form did not take.
  virtual void DefaultHandler(TMessage& msg) = 0;
  virtual void PostClose() = 0;
};

class TimerPeer {
 public:
  virtual ~TimerPeer() = default;
  virtual void Update(bool enabled, unsigned interval) = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;
  // The hidden application window; messages in the registered range that reach it
  // are passed to the main form.
  virtual Handle CreateApplicationWindow(TApplication& app) = 0;
  virtual std::unique_ptr<FormPeer> CreateFormPeer(TForm& form) = 0;
  virtual std::unique_ptr<ControlPeer> CreateControlPeer(TControl& control) = 0;
  virtual std::unique_ptr<TimerPeer> CreateTimerPeer(TTimer& timer) = 0;
  // Shows a pop-up menu at a screen position; the chosen item or nullptr.
  virtual TMenuItem* TrackPopup(TPopupMenu& menu, int x, int y) = 0;
  // Runs until the application terminates.
  virtual void RunMessageLoop(TApplication& app) = 0;
  virtual void Quit() = 0;
};

}  // namespace tivoler
