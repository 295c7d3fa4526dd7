// Construction of the main window: every control made, placed and wired; the
// option panel laid out here, the other areas by their own files.
#include "core/hold_keys.h"
#include "main_form/control_ids.h"
#include "main_form/main_form.h"

namespace tivoler {

TMainForm::TMainForm(TApplication& app, std::vector<std::string> args)
    : TForm(app),
      Button1(*this, nullptr, ids::kFirstSlotButton),
      Button2(*this, nullptr, ids::kFirstSlotButton + 1),
      Button3(*this, nullptr, ids::kFirstSlotButton + 2),
      Button4(*this, nullptr, ids::kFirstSlotButton + 3),
      Button5(*this, nullptr, ids::kFirstSlotButton + 4),
      DetailButton(*this, nullptr, ids::kDetailButton),
      Button6(*this, nullptr, ids::kFirstSlotButton + 5),
      Button7(*this, nullptr, ids::kFirstSlotButton + 6),
      Button8(*this, nullptr, ids::kFirstSlotButton + 7),
      Button9(*this, nullptr, ids::kFirstSlotButton + 8),
      Button10(*this, nullptr, ids::kFirstSlotButton + 9),
      OptionButton(*this, nullptr, ids::kOptionButton),
      StatusBar(*this, nullptr, ids::kStatusBar),
      DetailGB(*this, nullptr, ids::kDetailGB),
      RightyRB(*this, &DetailGB, ids::kRightyRB),
      LeftyRB(*this, &DetailGB, ids::kLeftyRB),
      SpeedTB(*this, &DetailGB, ids::kSpeedTB),
      MouseSpeedNE(*this, &DetailGB, ids::kMouseSpeedNE),
      Accel1CB(*this, &DetailGB, ids::kAccel1CB),
      MouseParam0NE(*this, &DetailGB, ids::kMouseParam0NE),
      Accel2CB(*this, &DetailGB, ids::kAccel2CB),
      MouseParam1NE(*this, &DetailGB, ids::kMouseParam1NE),
      WheelSLTB(*this, &DetailGB, ids::kWheelSLTB),
      WheelSLNE(*this, &DetailGB, ids::kWheelSLNE),
      SpeedST(*this, &DetailGB, ids::kSpeedST),
      WheelST(*this, &DetailGB, ids::kWheelST),
      VersionST(*this, &DetailGB, ids::kVersionST),
      CursorST(*this, &DetailGB, ids::kCursorST),
      DropPanel(*this, &DetailGB, ids::kDropPanel),
      PaintBox(*this, &DropPanel, ids::kPaintBox),
      CursorLabel(*this, &DropPanel, ids::kCursorLabel),
      PreCursorButton(*this, &DetailGB, ids::kPreCursorButton),
      NextCursorButton(*this, &DetailGB, ids::kNextCursorButton),
      MnOpenCursor(CursorMenu.Add("")),
      MnSetDefault(CursorMenu.Add("")),
      N5(CursorMenu.AddSeparator()),
      MnRepair(CursorMenu.Add("")),
      OptionGB(*this, nullptr, ids::kOptionGB),
      NonCloseCB(*this, &OptionGB, ids::kNonCloseCB),
      SetAndCloseCB(*this, &OptionGB, ids::kSetAndCloseCB),
      MinimizeStartCB(*this, &OptionGB, ids::kMinimizeStartCB),
      LoadPreviousCB(*this, &OptionGB, ids::kLoadPreviousCB),
      OriginRightBottomCB(*this, &OptionGB, ids::kOriginRightBottomCB),
      SetTypeRG(*this, &OptionGB, ids::kSetTypeRG, ids::kSetTypeFirstItem, 3),
      HotKeyST(*this, &OptionGB, ids::kHotKeyST),
      ShowMethodCB(*this, &OptionGB, ids::kShowMethodCB),
      DelSettingButton(*this, &OptionGB, ids::kDelSettingButton),
      MnSetMouse(PopupMenu.Add("")),
      N3(PopupMenu.AddSeparator()),
      MnSetSlot(PopupMenu.Add("")),
      MnSetKey(PopupMenu.Add("")),
      MnCreateShortCut(PopupMenu.Add("")),
      N4(PopupMenu.AddSeparator()),
      MnDelete(PopupMenu.Add("")),
      N7(PopupMenu.AddSeparator()),
      MnUseWithMouse(PopupMenu.Add("")),
      MnUseWithProgram(PopupMenu.Add("")),
      MnShow(TaskTrayMenu.Add("Show Window")),
      MnShowMCPanel(TaskTrayMenu.Add("")),
      N2(TaskTrayMenu.AddSeparator()),
      N1(TaskTrayMenu.AddSeparator()),
      MnReloadCursors(TaskTrayMenu.Add("")),
      N6(TaskTrayMenu.AddSeparator()),
      MnExit(TaskTrayMenu.Add("")),
      Timer(app, kMainTimerInterval, false),
      StatusTimer(app, 10000, false),
      SaveTimer(app, kSaveDelay, false),
      args_(std::move(args)),
      scheme_(app.Os()) {
  SetCaption(kWindowTitle);
  SetBounds(0, 0, 0, 0);
  SetClientSize(kClientWidth, kCollapsedClientHeight);
  {
    // Every profile starts with the scheme as it is now: one read serves them all.
    TStringList roles;
    TStringList files;
    scheme_.LoadSystemScheme(roles, files);
    for (auto& profile : profiles_) {
      profile = std::make_unique<TMouseProfile>(scheme_, roles, files);
    }
  }
  App().HintHidePause = 20000;

  CreateSlotArea();
  DetailButton.SetBounds(120, 0, 24, 24);
  DetailButton.SetCaption("Dtl");
  OptionButton.SetBounds(120, 24, 24, 24);
  OptionButton.SetCaption("Op");
  DetailButton.OnClick = [this] { DetailButtonClick(); };
  OptionButton.OnClick = [this] { OptionButtonClick(); };
  // The right button toggles the panels too.
  for (TButton* button : {&DetailButton, &OptionButton}) {
    button->OnMouseUp = [button](TMouseButton released, int, int) {
      if (released != TMouseButton::Right) return;
      button->SetFocus();
      button->Click();
    };
  }
  CreateDetailPanel();
  CreateCursorPanel();
  CreateOptionPanel();
  Timer.OnTimer = [this] { TimerTimer(); };
  SaveTimer.OnTimer = [this] { SaveTimerTimer(); };
  MnShowMCPanel.OnClick = [this] { MnShowMCPanelClick(); };
  ChooseLanguage();
}

void TMainForm::CreateOptionPanel() {
  OptionGB.SetBounds(0, 52, 144, 297);
  OptionGB.SetVisible(false);
  NonCloseCB.SetBounds(8, 16, 129, 17);
  SetAndCloseCB.SetBounds(8, 40, 129, 17);
  MinimizeStartCB.SetBounds(8, 64, 129, 17);
  MinimizeStartCB.SetEnabled(false);
  LoadPreviousCB.SetBounds(8, 88, 129, 17);
  OriginRightBottomCB.SetBounds(8, 112, 129, 17);
  SetTypeRG.SetBounds(8, 136, 129, 85);
  SetTypeRG.ArrangeButtons();
  SetTypeRG.SetItemIndex(0);
  HotKeyST.SetBounds(8, 226, 124, 17);
  ShowMethodCB.SetBounds(4, 244, 136, 20);
  std::vector<std::string> holdKeyItems;
  for (const HoldKeyPair& pair : kHoldKeyPairs) holdKeyItems.push_back(pair.Text ? pair.Text : "");
  ShowMethodCB.SetItems(holdKeyItems);
  ShowMethodCB.SetItemIndex(0);
  DelSettingButton.SetBounds(4, 272, 136, 20);

  NonCloseCB.OnClick = [this] {
    NonCloseCBClick();
    ArmSave();
  };
  for (TCheckBox* box : {&SetAndCloseCB, &MinimizeStartCB, &LoadPreviousCB, &OriginRightBottomCB}) {
    box->OnClick = [this] { ArmSave(); };
  }
  SetTypeRG.OnClick = [this] {
    SetTypeRGClick();
    ArmSave();
  };
  ShowMethodCB.OnChange = [this] { ShowMethodCBChange(); };
  DelSettingButton.OnClick = [this] { DelSettingButtonClick(); };
  MnShow.OnClick = [this] { MnShowClick(); };
  MnExit.OnClick = [this] { MnExitClick(); };
}

TMainForm::~TMainForm() = default;

}  // namespace tivoler
