// The texts of the main window: the language, chosen once from the user's default
// language, and every localised text put at its place.
#include "core/hold_keys.h"
#include "main_form/main_form.h"

namespace tivoler {

namespace {
constexpr int kAnsiCharset = 0;
constexpr int kShiftJisCharset = 128;
constexpr int kFormFontHeight = 11;
}  // namespace

std::string TMainForm::Text(int id) {
  return Os().LoadStringA(static_cast<unsigned>(id + LanguageOffset));
}

void TMainForm::ChooseLanguage() {
  const bool japanese = Os().GetUserDefaultLangID() == win::kLangJapanese;
  LanguageOffset = japanese ? kJapaneseTextOffset : 0;
  const int charset = japanese ? kShiftJisCharset : kAnsiCharset;

  TFont font = Font();
  font.Height = kFormFontHeight;
  font.Charset = charset;
  SetFont(font);
  VersionST.SetFont(TFont{"Tahoma", 11, charset});
  for (TButton* button : {&DetailButton, &OptionButton}) {
    button->SetFont(TFont{"Arial", 12, charset});
  }
  for (int n = 1; n <= kSlotCount; ++n) Button(n).SetFont(TFont{"Arial", 12, charset});

  for (size_t i = 0; i < kHoldKeyPairs.size(); ++i) {
    const int id = kHoldKeyPairs[i].TextId;
    if (id != 0) ShowMethodCB.SetItem(static_cast<int>(i), Text(id));
  }
  MnShow.Caption = Text(kTextShowWindow);
}

void TMainForm::ApplyLanguage() {
  TFont font = Font();
  font.Name = Text(kTextFormFont);
  SetFont(font);

  DetailButton.SetHint(Text(kTextDetailButtonHint));
  OptionButton.SetHint(Text(kTextOptionButtonHint));
  OptionGB.SetCaption(Text(kTextOptionGroup));
  NonCloseCB.SetHint(Text(kTextNonCloseHint));
  NonCloseCB.SetCaption(Text(kTextNonClose));
  SetAndCloseCB.SetHint(Text(kTextSetAndCloseHint));
  SetAndCloseCB.SetCaption(Text(kTextSetAndClose));
  MinimizeStartCB.SetHint(Text(kTextMinimizeStartHint));
  MinimizeStartCB.SetCaption(Text(kTextMinimizeStart));
  LoadPreviousCB.SetHint(Text(kTextLoadPreviousHint));
  LoadPreviousCB.SetCaption(Text(kTextLoadPrevious));
  OriginRightBottomCB.SetHint(Text(kTextOriginRightBottomHint));
  OriginRightBottomCB.SetCaption(Text(kTextOriginRightBottom));
  SetTypeRG.SetHint(Text(kTextSetTypeHint));
  SetTypeRG.SetCaption(Text(kTextSetType));
  SetTypeRG.SetItem(0, Text(kTextSetTypeAll));
  SetTypeRG.SetItem(1, Text(kTextSetTypeControl));
  SetTypeRG.SetItem(2, Text(kTextSetTypeCursor));
  HotKeyST.SetCaption(Text(kTextHotKey));
  ShowMethodCB.SetHint(Text(kTextHotKeyHint));
  DetailGB.SetCaption(Text(kTextDetailGroup));
  RightyRB.SetHint(Text(kTextRightyHint));
  RightyRB.SetCaption(Text(kTextRighty));
  LeftyRB.SetHint(Text(kTextLeftyHint));
  LeftyRB.SetCaption(Text(kTextLefty));
  SpeedST.SetCaption(Text(kTextSpeedHeading));
  MouseSpeedNE.SetHint(Text(kTextSpeedEditHint));
  SpeedTB.SetHint(Text(kTextSpeedBarHint));
  Accel1CB.SetHint(Text(kTextAccel1Hint));
  MouseParam0NE.SetHint(Text(kTextAccel1EditHint));
  Accel1CB.SetCaption(Text(kTextAccel1));
  Accel2CB.SetHint(Text(kTextAccel2Hint));
  MouseParam1NE.SetHint(Text(kTextAccel2EditHint));
  Accel2CB.SetCaption(Text(kTextAccel2));
  WheelST.SetCaption(Text(kTextWheelHeading));
  WheelSLNE.SetHint(Text(kTextWheelEditHint));
  WheelSLTB.SetHint(Text(kTextWheelBarHint));
  PreCursorButton.SetHint(Text(kTextPreviousCursorHint));
  PreCursorButton.SetCaption(Text(kTextPreviousCursor));
  NextCursorButton.SetHint(Text(kTextNextCursorHint));
  NextCursorButton.SetCaption(Text(kTextNextCursor));
  CursorST.SetCaption(Text(kTextCursorHeading));
  DropPanel.SetHint(Text(kTextDropPanelHint));
  CursorLabel.SetHint(Text(kTextCursorLabelHint));
  MnSetMouse.Caption = Text(kTextSlotMenuSetToSystem);
  MnSetSlot.Caption = Text(kTextSlotMenuSetFromSystem);
  MnSetKey.Caption = Text(kTextSlotMenuSetKey);
  MnCreateShortCut.Caption = Text(kTextSlotMenuCreateShortcut);
  MnDelete.Caption = Text(kTextSlotMenuDelete);
  MnUseWithMouse.Caption = Text(kTextSlotMenuUseWithMouse);
  MnUseWithProgram.Caption = Text(kTextSlotMenuUseWithProgram);
  ProgramOpenFilter = Text(kTextProgramFileFilter);
  MnShowMCPanel.Caption = Text(kTextTrayMenuMousePanel);
  MnReloadCursors.Caption = Text(kTextTrayMenuReloadCursors);
  MnExit.Caption = Text(kTextTrayMenuExit);
  SaveDialogFilter = Text(kTextShortcutFilter);
  MnOpenCursor.Caption = Text(kTextCursorMenuOpen);
  MnSetDefault.Caption = Text(kTextCursorMenuSetDefault);
  MnRepair.Caption = Text(kTextCursorMenuReloadAll);
  CursorOpenFilter = Text(kTextCursorFileFilter);
  DelSettingButton.SetCaption(Text(kTextUninstall));

  NonCloseCBClick();
}

}  // namespace tivoler
