// Text list, registry access and the error boundary of the form library.
#include <gtest/gtest.h>

#include "fake_os.h"
#include "forms/application.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/registry.h"
#include "forms/screen.h"
#include "forms/text_list.h"
#include "forms/timer.h"

namespace tivoler::test {
namespace {

TEST(TextList, SplitsAtEveryLineEnd) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},     {"a\nb", {"a", "b"}},       {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}}, {"a\n\rb", {"a", "", "b"}}, {"", {}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(list.Lines(), c.lines) << c.text;
  }
}

TEST(TextList, WritesCrLfAfterEveryLine) {
  TStringList list{"a=1", "b="};
  EXPECT_EQ(list.Text(), "a=1\r\nb=\r\n");
  EXPECT_EQ(TStringList().Text(), "");
}

TEST(TextList, ValueTakesFirstMatchingNameIgnoringCase) {
  TStringList list{"noequals", "Speed3=7", "SPEED3=9", "Key3=a=b", "Empty3="};
  EXPECT_EQ(list.Value("speed3"), "7");
  EXPECT_EQ(list.Value("Key3"), "a=b");
  EXPECT_EQ(list.Value("Empty3"), "");
  EXPECT_EQ(list.Value("noequals"), "");
  EXPECT_EQ(list.IndexOfName("Missing"), -1);
  EXPECT_EQ(list.IndexOfName("Speed"), -1) << "a prefix of the name is no match";
}

TEST(Registry, OpensOnlyExistingKeysWithFullAccess) {
  FakeOs os;
  TRegistry reg(os);
  EXPECT_FALSE(reg.OpenKey("Control Panel\\Mouse"));
  EXPECT_FALSE(os.HasKey("Control Panel\\Mouse"));
  os.AddKey("Control Panel\\Mouse");
  EXPECT_TRUE(reg.OpenKey("Control Panel\\Mouse"));
  EXPECT_EQ(os.calls.back(), "RegOpenKeyExA Control Panel\\Mouse 983103");
  reg.CloseKey();
  EXPECT_EQ(os.openKeys(), 0);
}

TEST(Registry, ReadsStringsAndRejectsOtherTypes) {
  FakeOs os;
  os.SetText("K", "sz", "one");
  os.SetText("K", "expand", "%SystemRoot%\\x.cur", win::kRegExpandSz);
  os.SetRaw("K", "dword", win::kRegDword, std::string("\x01\0\0\0", 4));
  os.SetRaw("K", "nozero", win::kRegSz, "abc");
  os.SetRaw("K", "inner", win::kRegSz, std::string("ab\0cd\0", 6));
  TRegistry reg(os);
  ASSERT_TRUE(reg.OpenKey("K"));
  EXPECT_EQ(reg.ReadString("sz"), "one");
  EXPECT_EQ(reg.ReadString("expand"), "%SystemRoot%\\x.cur");
  EXPECT_EQ(reg.ReadString("missing"), "");
  EXPECT_EQ(reg.ReadString("nozero"), "abc");
  EXPECT_EQ(reg.ReadString("inner"), "ab");
  EXPECT_THROW(reg.ReadString("dword"), ERegistryException);
  EXPECT_EQ(reg.GetDataType("dword"), TRegDataType::Integer);
  EXPECT_EQ(reg.GetDataType("missing"), TRegDataType::Unknown);
  EXPECT_EQ(reg.GetValueNames(),
            (std::vector<std::string>{"sz", "expand", "dword", "nozero", "inner"}));
  // The one-query read answers as the type check followed by the read.
  for (const char* name : {"sz", "expand", "dword", "nozero", "inner", "missing"}) {
    std::string text = "untouched";
    const TRegDataType type = reg.GetDataType(name);
    const bool isText = type == TRegDataType::String || type == TRegDataType::ExpandString;
    EXPECT_EQ(reg.ReadStringIfText(name, &text), isText) << name;
    EXPECT_EQ(text, isText ? reg.ReadString(name) : "untouched") << name;
  }
}

TEST(Registry, WritesTextWithZeroAndRaisesWhenRefused) {
  FakeOs os;
  os.AddKey("K");
  os.refusedWrites.insert("locked");
  TRegistry reg(os);
  ASSERT_TRUE(reg.OpenKey("K"));
  reg.WriteString("a", "12");
  reg.WriteExpandString("b", "");
  EXPECT_EQ(os.Type("K", "a"), win::kRegSz);
  EXPECT_EQ(os.Type("K", "b"), win::kRegExpandSz);
  EXPECT_EQ(os.Raw("K", "a"), std::string("12\0", 3)) << "the text and its zero";
  EXPECT_EQ(os.Raw("K", "b"), std::string("\0", 1));
  try {
    reg.WriteString("locked", "1");
    FAIL() << "a refused write must raise";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'locked'");
  }
}

TEST(Controls, ARadioGroupsHintShowsOverItsEntries) {
  FakeOs os;
  TApplication app(os, nullptr);
  TForm form(app);
  TRadioGroup group(form, nullptr, 1, 10, 3);
  group.SetHint("Choose one");
  group.Button(2).SetHint("Third");
  EXPECT_EQ(group.Button(0).EffectiveHint(), "Choose one");
  EXPECT_EQ(group.Button(2).EffectiveHint(), "Third") << "an entry's own hint comes first";
}

// The bar clamps on its own, apart from the number box beside it in the detail panel
// (which clamps what it reads, and sets the bar).
TEST(Controls, ATrackBarKeepsItsPositionWithinItsRangeAndReportsRealChanges) {
  FakeOs os;
  TApplication app(os, nullptr);
  TForm form(app);
  TTrackBar bar(form, nullptr, 1);
  bar.SetRange(1, 20);
  int changes = 0;
  bar.OnChange = [&] { ++changes; };
  const struct {
    int set, position, changes;
  } cases[] = {{5, 5, 1}, {0, 1, 2}, {-7, 1, 2}, {25, 20, 3}, {20, 20, 3}, {1, 1, 4}};
  for (const auto& c : cases) {
    bar.SetPosition(c.set);
    EXPECT_EQ(bar.Position(), c.position) << c.set;
    EXPECT_EQ(changes, c.changes) << c.set;
  }
}

// A window system whose form windows get a frame 2 pixels taller than the
// estimate it gives for a window too small to be measured.
class FrameBackend : public Backend {
 public:
  static constexpr int kFrameWidth = 6;
  static constexpr int kFrameHeight = 24;
  class Peer : public FormPeer {
   public:
    explicit Peer(TForm& form) : form_(form) {}
    Handle WindowHandle() const override { return 0x100; }
    void SetCaption(const std::string&) override {}
    void SetVisible(bool) override {}
    void SetBounds(const TRect& outer) override {
      outer_ = outer;
      form_.SyncBounds(outer);
    }
    void FrameExtent(int* width, int* height) const override {
      const bool measurable = outer_.Width > kFrameWidth && outer_.Height > kFrameHeight;
      *width = kFrameWidth;
      *height = measurable ? kFrameHeight : kFrameHeight - 2;
    }
    void DefaultHandler(TMessage&) override {}
    void PostClose() override {}
    int ClientHeight() const { return outer_.Height - kFrameHeight; }

   private:
    TForm& form_;
    TRect outer_;
  };
  Handle CreateApplicationWindow(TApplication&) override { return 0x99; }
  std::unique_ptr<FormPeer> CreateFormPeer(TForm& form) override {
    auto peer = std::make_unique<Peer>(form);
    formPeer = peer.get();
    return peer;
  }
  std::unique_ptr<ControlPeer> CreateControlPeer(TControl&) override { return nullptr; }
  std::unique_ptr<TimerPeer> CreateTimerPeer(TTimer&) override { return nullptr; }
  TMenuItem* TrackPopup(TPopupMenu&, int, int) override { return nullptr; }
  void RunMessageLoop(TApplication&) override {}
  void Quit() override {}
  Peer* formPeer = nullptr;
};

TEST(Form, ClientSizeHoldsWhateverFrameTheWindowReallyGets) {
  FakeOs os;
  FrameBackend backend;
  TApplication app(os, &backend);
  TForm form(app);
  form.SetBounds(0, 0, 0, 0);
  form.SetClientSize(143, 67);  // before the window exists
  app.CreateForm(form);
  ASSERT_NE(backend.formPeer, nullptr);
  EXPECT_EQ(backend.formPeer->ClientHeight(), 67);
  EXPECT_EQ(form.ClientHeight(), 67);
  form.SetClientHeight(367);
  EXPECT_EQ(backend.formPeer->ClientHeight(), 367);
  form.SetBounds(0, 0, 20, 20);  // too small to measure: the estimate, then the correction
  form.SetClientSize(143, 67);
  EXPECT_EQ(backend.formPeer->ClientHeight(), 67);
}

// The system's timer is told of every change; a running timer started anew is told again,
// which starts its interval anew (a burst of changes saves once, after its last).
TEST(Timer, RestartTellsTheSystemAgainAndEnablingTwiceDoesNot) {
  struct LoggingPeer : TimerPeer {
    explicit LoggingPeer(std::vector<std::string>& log) : log_(log) {}
    void Update(bool enabled, unsigned interval) override {
      log_.push_back(std::to_string(enabled) + " " + std::to_string(interval));
    }
    std::vector<std::string>& log_;
  };
  struct TimerBackend : FrameBackend {
    std::unique_ptr<TimerPeer> CreateTimerPeer(TTimer&) override {
      return std::make_unique<LoggingPeer>(log);
    }
    std::vector<std::string> log;
  };
  FakeOs os;
  TimerBackend backend;
  TApplication app(os, &backend);
  TTimer timer(app, 1000, false);
  timer.SetEnabled(true);
  timer.SetEnabled(true);
  timer.Restart();
  timer.SetEnabled(false);
  timer.Restart();
  EXPECT_EQ(backend.log,
            (std::vector<std::string>{"0 1000", "1 1000", "1 1000", "0 1000", "1 1000"}));
}

// What the window backend gives the system for a form's 96-DPI units on a monitor of
// another scale: rectangles scaled from the monitor's origin, edges rounded (so that
// controls that touch keep touching), font heights scaled, and the way back.
TEST(Screen, RectanglesAndFontHeightsScaleWithTheMonitorsDpi) {
  struct Case {
    int dpi;
    TRect monitor;  // in pixels
    TRect units;    // a rectangle on it, in 96-DPI units
    TRect pixels;   // the same in pixels
    TRect bounds;   // the monitor in 96-DPI units
    int arial12;    // the slot buttons' font
    int form11;     // the form's font
  };
  const Case cases[] = {
      {96, {0, 0, 1024, 768}, {300, 200, 149, 89}, {300, 200, 149, 89}, {0, 0, 1024, 768}, 12, 11},
      // Edges 9 and 66 become 11.25 and 82.5: 11 and 83, so 72 pixels wide, where the
      // width alone (71.25) would give 71.
      {120, {0, 0, 1920, 1080}, {9, 68, 57, 17}, {11, 85, 72, 21}, {0, 0, 1536, 864}, 15, 14},
      {144, {0, 0, 1920, 1080}, {120, 24, 24, 24}, {180, 36, 36, 36}, {0, 0, 1280, 720}, 18, 17},
      {144,
       {-1920, 0, 1920, 1080},
       {-1000, 100, 143, 67},
       {-1920 + 1380, 150, 215, 101},
       {-1920, 0, 1280, 720},
       18,
       17},
      {192,
       {1920, 0, 3840, 2160},
       {2000, 10, 143, 367},
       {2080, 20, 286, 734},
       {1920, 0, 1920, 1080},
       24,
       22},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    TMonitor monitor;
    monitor.Pixels = c.monitor;
    monitor.Dpi = c.dpi;
    const TRect p = monitor.ToPixels(c.units);
    EXPECT_EQ(p.Left, c.pixels.Left);
    EXPECT_EQ(p.Top, c.pixels.Top);
    EXPECT_EQ(p.Width, c.pixels.Width);
    EXPECT_EQ(p.Height, c.pixels.Height);
    const TRect back = monitor.FromPixels(p);
    EXPECT_EQ(back.Left, c.units.Left);
    EXPECT_EQ(back.Top, c.units.Top);
    EXPECT_EQ(back.Width, c.units.Width);
    EXPECT_EQ(back.Height, c.units.Height);
    const TRect b = monitor.Bounds();
    EXPECT_EQ(b.Left, c.bounds.Left);
    EXPECT_EQ(b.Top, c.bounds.Top);
    EXPECT_EQ(b.Width, c.bounds.Width);
    EXPECT_EQ(b.Height, c.bounds.Height);
    EXPECT_EQ(ScaleToDpi(12, c.dpi), c.arial12);
    EXPECT_EQ(ScaleToDpi(11, c.dpi), c.form11);
  }
  // Two controls side by side at 9..66 and 66..130 touch in pixels too (at 83).
  TMonitor at120;
  at120.Pixels = {0, 0, 1920, 1080};
  at120.Dpi = 120;
  const TRect a = at120.ToPixels({9, 0, 57, 17});
  const TRect b = at120.ToPixels({66, 0, 64, 17});
  EXPECT_EQ(a.Left + a.Width, b.Left) << "touching controls keep touching";
}

TEST(Application, GuardShowsEscapingErrorInStandardBox) {
  FakeOs os;
  TApplication app(os, nullptr);
  app.Title = "Tivoler";
  bool after = false;
  app.Guard([&] {
    throw ERegistryException("Failed to set data for 'MouseSpeed'");
    after = true;
  });
  EXPECT_FALSE(after);
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0], "Tivoler|Failed to set data for 'MouseSpeed'.|16");
}

}  // namespace
}  // namespace tivoler::test
