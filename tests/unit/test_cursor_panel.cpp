// The cursor preview panel and shortcut creation.
#include "main_form_fixture.h"

namespace tivoler::test {
namespace {

class CursorPanelTest : public MainFormFixture {
 protected:
  void SetUp() override {
    os.SetText(kCursorsKey, "Arrow", "C:\\WINDOWS\\Cursors\\a.cur", win::kRegExpandSz);
    os.AddFile("C:\\WINDOWS\\Cursors\\a.cur", FakeOs::CursorFileContent());
    os.AddFile("C:\\WINDOWS\\Cursors\\x.cur", FakeOs::CursorFileContent());
    os.AddFile("D:\\busy.ani", "RIFF....ACON");
    os.AddFile("D:\\x.CUR", FakeOs::CursorFileContent());
    os.AddFile("D:\\text.cur", "just text");
    os.AddFile("D:\\x.old.cur", FakeOs::CursorFileContent());
    os.AddFile("D:\\first.last\\x.cur", FakeOs::CursorFileContent());
    Start();
  }
  std::string Shown() const { return form->CursorLabel.Caption(); }
  void Drop(std::vector<std::string> files) {
    os.droppedFiles = std::move(files);
    TMessage drop{0x0233, 0x4444, 0, 0};
    form->DropPanel.WindowProc(drop);
  }
};

TEST_F(CursorPanelTest, OpeningThePanelShowsTheCursorAppliedWhileItWasClosed) {
  FillSlot(2, "10");
  form->Profile(2).CursorFiles[0] = "%SystemRoot%\\Cursors\\x.cur";
  form->ApplySlot(2, true, true);
  os.calls.clear();
  form->DetailButton.Click();
  EXPECT_EQ(Shown(), "Arrow");
  EXPECT_EQ(os.CallsStartingWith("LoadCursorImage"),
            std::vector<std::string>{"LoadCursorImage C:\\WINDOWS\\Cursors\\x.cur"});
  EXPECT_TRUE(form->PreviewCursor.FromFile());
}

TEST_F(CursorPanelTest, ControlsArePlacedWithinTheWindowThatHoldsThem) {
  struct Case {
    TControl* control;
    int left, top;
  };
  // The drop panel holds the preview in a window of its own; group boxes do not.
  const Case cases[] = {{&form->DropPanel, 10, 52 + 206}, {&form->PaintBox, 0, 0},
                        {&form->CursorLabel, 38, 18},     {&form->Button7, 24, 24},
                        {&form->SetTypeRG.Button(2), 8 + 8, 52 + 136 + 16 + 2 * 21}};
  for (const Case& c : cases) {
    int left = -1;
    int top = -1;
    c.control->ClientOrigin(&left, &top);
    EXPECT_EQ(left, c.left) << c.control->Id();
    EXPECT_EQ(top, c.top) << c.control->Id();
  }
}

// The applied slot's cursor is loaded and painted once, the old one not again.
TEST_F(CursorPanelTest, PreviewShowsTheCursorOfTheSlotJustApplied) {
  form->DetailButton.Click();
  FillSlot(3, "7");
  form->Profile(3).CursorFiles[0] = "C:\\WINDOWS\\Cursors\\x.cur";
  form->CurrentRole = 0;
  os.calls.clear();
  const int repaints = form->PaintBox.RepaintCount();
  form->ApplySlot(3, true, true);
  EXPECT_EQ(os.CallsStartingWith("LoadCursorImage"),
            std::vector<std::string>{"LoadCursorImage C:\\WINDOWS\\Cursors\\x.cur"});
  EXPECT_EQ(form->PaintBox.RepaintCount(), repaints + 1);
}

TEST_F(CursorPanelTest, SteppingWrapsAroundTheRoles) {
  form->ShowRole();
  EXPECT_EQ(Shown(), "Arrow");
  form->PreCursorButton.Click();
  EXPECT_EQ(Shown(), "Hand");
  form->NextCursorButton.Click();
  EXPECT_EQ(Shown(), "Arrow");
  form->CurrentRole = 12;
  form->NextCursorButton.Click();
  EXPECT_EQ(Shown(), "UpArrow");
}

TEST_F(CursorPanelTest, FurtherRoleComesAfterHandAndShowsNothingWithoutFile) {
  os.SetText(kCursorsKey, "Pin", "", win::kRegExpandSz);
  form->ReadFromSystem(true);
  form->Profile(0).Reset();
  ASSERT_EQ(form->Profile(0).CursorRoles.Count(), 16);
  form->CurrentRole = 14;
  form->NextCursorButton.Click();
  EXPECT_EQ(Shown(), "Pin");
  EXPECT_EQ(form->PreviewCursor.Get(), kNoHandle);
  form->NextCursorButton.Click();
  EXPECT_EQ(Shown(), "Arrow");
}

TEST_F(CursorPanelTest, PreviewShowsTheFileOrTheBuiltInCursor) {
  form->ShowRole();
  EXPECT_TRUE(form->PreviewCursor.FromFile());
  EXPECT_EQ(os.liveCursors.size(), 1u);
  form->NextCursorButton.Click();  // Help: no file
  EXPECT_FALSE(form->PreviewCursor.FromFile());
  EXPECT_EQ(form->PreviewCursor.Get(), 0x7000u + 32651u);
  EXPECT_TRUE(os.liveCursors.empty()) << "the file cursor was destroyed when replaced";
  struct Canvas : TCanvas {
    std::vector<Handle> drawn;
    void DrawIcon(int, int, Handle icon) override { drawn.push_back(icon); }
  } canvas;
  form->PaintBox.OnPaint(canvas);
  EXPECT_EQ(canvas.drawn, std::vector<Handle>{0x7000u + 32651u});
}

TEST_F(CursorPanelTest, ChosenFilesAreCheckedAndStoredUnexpanded) {
  struct Case {
    const char* path;
    bool accepted;
    const char* stored;
  };
  const Case cases[] = {
      {"C:\\WINDOWS\\Cursors\\x.cur", true, "%SystemRoot%\\Cursors\\x.cur"},
      {"D:\\busy.ani", true, "D:\\busy.ani"},
      {"D:\\x.old.cur", true, "D:\\x.old.cur"},
      {"D:\\first.last\\x.cur", true, "D:\\first.last\\x.cur"},
      {"D:\\x.CUR", false, nullptr},
      {"D:\\text.cur", false, nullptr},
      {"D:\\missing.cur", false, nullptr},
      {"D:\\notes.txt", false, nullptr},
      {"D:\\folder.cur\\file", false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    os.SetText(kCursorsKey, "Arrow", "C:\\WINDOWS\\Cursors\\a.cur", win::kRegExpandSz);
    form->Profile(0).CursorFiles[0] = "C:\\WINDOWS\\Cursors\\a.cur";
    form->CurrentRole = 0;
    os.openDialogAnswers = {c.path};
    form->MnOpenCursorClick();
    const std::string expected = c.accepted ? c.stored : "C:\\WINDOWS\\Cursors\\a.cur";
    EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), expected);
    EXPECT_EQ(form->Profile(0).CursorFiles[0], expected);
    EXPECT_TRUE(!c.accepted || form->PreviewCursor.FromFile())
        << "the preview loads the expanded path";
  }
  EXPECT_EQ(os.Type(kCursorsKey, "Arrow"), win::kRegExpandSz);
  EXPECT_EQ(os.dialogs.back(), "open|Cursor(*.cur;*.ani)|*.cur;*.ani|All Files(*.*)|*.*||");
  os.openDialogAnswers = {""};
  form->MnOpenCursorClick();  // cancelled: nothing happens
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "C:\\WINDOWS\\Cursors\\a.cur");
}

TEST_F(CursorPanelTest, SetToDefaultWritesTheEmptyTextAndReloads) {
  form->CurrentRole = 0;
  os.calls.clear();
  form->MnSetDefault.Click();
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "");
  EXPECT_EQ(os.CallsStartingWith("SystemParametersInfoA 87 ").size(), 1u);
  EXPECT_EQ(form->PreviewCursor.Get(), 0x7000u + 32512u);
  os.SetText(kCursorsKey, "Pin", "D:\\busy.ani", win::kRegExpandSz);
  form->Profile(0).Reset();
  form->CurrentRole = 15;
  form->MnSetDefaultClick();
  EXPECT_EQ(form->Profile(0).CursorFiles[15], "");
  EXPECT_EQ(form->PreviewCursor.Get(), kNoHandle) << "a further role has no built-in cursor";
}

TEST_F(CursorPanelTest, DropsTakeTheFirstFileAndFollowShortcuts) {
  form->CurrentRole = 0;
  Drop({"D:\\busy.ani", "C:\\WINDOWS\\Cursors\\x.cur", "D:\\x.CUR"});
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "D:\\busy.ani");
  EXPECT_EQ(os.CallsStartingWith("DragFinish").size(), 1u);
  os.shortcuts["D:\\to cursor.lnk"] = "C:\\WINDOWS\\Cursors\\x.cur";
  os.shortcuts["D:\\to text.lnk"] = "D:\\text.cur";
  Drop({"D:\\to cursor.lnk"});
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "%SystemRoot%\\Cursors\\x.cur");
  Drop({"D:\\to text.lnk"});
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "%SystemRoot%\\Cursors\\x.cur");
  Drop({"D:\\broken.lnk"});
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "%SystemRoot%\\Cursors\\x.cur")
      << "a shortcut that leads nowhere does not reset the role";
  Drop({});
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "%SystemRoot%\\Cursors\\x.cur");
  EXPECT_EQ(os.CallsStartingWith("DragFinish").size(), 5u) << "every drop is released";
  os.shortcuts["D:\\TO BUSY.LNK"] = "D:\\busy.ani";
  Drop({"D:\\TO BUSY.LNK"});
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "%SystemRoot%\\Cursors\\x.cur") << "only .lnk is a link";
  const std::string longName = "D:\\" + std::string(300, 'n') + ".cur";
  Drop({longName});
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "%SystemRoot%\\Cursors\\x.cur");
}

TEST_F(CursorPanelTest, OtherMessagesReachThePanelsOwnProcedure) {
  // A window whose panel procedure records what reaches it.
  form.reset();
  app = std::make_unique<TApplication>(os, nullptr);
  form = std::make_unique<TMainForm>(*app, std::vector<std::string>{});
  std::vector<unsigned> reached;
  form->DropPanel.WindowProc = [&](TMessage& msg) { reached.push_back(msg.Msg); };
  app->CreateForm(*form);
  EXPECT_EQ(os.CallsStartingWith("DragAcceptFiles").back(), "DragAcceptFiles 0 1")
      << "the panel takes drops from the start";
  form->ShowRole();
  TMessage paint{0x000F, 0, 0, 0};
  form->DropPanel.WindowProc(paint);
  Drop({"D:\\busy.ani"});
  EXPECT_EQ(reached, std::vector<unsigned>{0x000F}) << "a drop is handled, not passed on";
  CloseBox();
  app->Run();
  EXPECT_TRUE(os.liveCursors.empty()) << "the preview cursor is released at the end";
  EXPECT_EQ(os.CallsStartingWith("DragAcceptFiles").back(), "DragAcceptFiles 0 0");
  form->DropPanel.WindowProc(paint);
  EXPECT_EQ(reached.size(), 2u) << "the panel has its own procedure back";
}

TEST_F(CursorPanelTest, DoubleClicksOpenTheCursorDialog) {
  for (TControl* area : {static_cast<TControl*>(&form->DropPanel),
                         static_cast<TControl*>(&form->PaintBox),
                         static_cast<TControl*>(&form->CursorLabel)}) {
    area->OnDblClick();
  }
  EXPECT_EQ(os.dialogs.size(), 3u);
}

TEST_F(CursorPanelTest, NoSchemeShowsNothingAndRefusesChanges) {
  os.RemoveKey(kCursorsKey);
  form->Profile(0).Reset();
  EXPECT_TRUE(form->ShowRole());
  EXPECT_EQ(Shown(), "");
  form->NextCursorButton.Click();
  form->PreCursorButton.Click();
  EXPECT_EQ(form->CurrentRole, 0);
  EXPECT_FALSE(form->SetCurrentRoleFile(""));
}

TEST_F(CursorPanelTest, ShortcutCarriesTheProgramAndTheSlotNumber) {
  FillSlot(10, "5");
  form->SelectSlot(form->Button10);
  os.saveDialogAnswers = {"C:\\Users\\me\\Desktop\\Tivoler Button10.lnk"};
  form->MnCreateShortCut.Click();
  EXPECT_EQ(os.dialogs.back(),
            "save|Short Cut(*.lnk)|*.lnk|All Files(*.*)|*.*|lnk|Tivoler Button10.lnk");
  EXPECT_EQ(os.CallsStartingWith("CreateShellLink").back(),
            "CreateShellLink C:\\Program Files\\Tivoler\\tivoler.exe|"
            "C:\\Users\\me\\Desktop\\Tivoler Button10.lnk|10");
  os.saveDialogAnswers = {""};
  form->MnCreateShortCutClick();
  EXPECT_EQ(os.CallsStartingWith("CreateShellLink").size(), 1u) << "cancelled";
  os.shellLinkResult = -2147024891;  // access denied: silent
  os.saveDialogAnswers = {"C:\\locked\\x.lnk"};
  form->MnCreateShortCutClick();
  EXPECT_TRUE(os.messageBoxes.empty());
}

}  // namespace
}  // namespace tivoler::test
