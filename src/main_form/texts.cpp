// The texts of the main window: the language, chosen once from the user's default
// language, and every localised text put at its place.
#include "main_form/main_form.h"

namespace tivoler {

namespace {
constexpr int kJapaneseOffset = 2000;
constexpr int kAnsiCharset = 0;
constexpr int kShiftJisCharset = 128;
constexpr int kFormFontHeight = 11;
}  // namespace

std::string TMainForm::Text(int id) {
  return Os().LoadStringA(static_cast<unsigned>(id + LanguageOffset));
}

void TMainForm::ChooseLanguage() {
  const bool japanese = Os().GetUserDefaultLangID() == win::kLangJapanese;
  LanguageOffset = japanese ? kJapaneseOffset : 0;
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

  ShowMethodCB.SetItem(0, Text(1103));
  ShowMethodCB.SetItem(11, Text(1104));
  ShowMethodCB.SetItem(12, Text(1105));
  MnShow.Caption = Text(2083);
}

void TMainForm::ApplyLanguage() {
  TFont font = Font();
  font.Name = Text(1001);
  SetFont(font);

  DetailButton.SetHint(Text(1011));
  OptionButton.SetHint(Text(1012));
  OptionGB.SetCaption(Text(1021));
  NonCloseCB.SetHint(Text(1031));
  NonCloseCB.SetCaption(Text(1032));
  SetAndCloseCB.SetHint(Text(1041));
  SetAndCloseCB.SetCaption(Text(1042));
  MinimizeStartCB.SetHint(Text(1051));
  MinimizeStartCB.SetCaption(Text(1052));
  LoadPreviousCB.SetHint(Text(1061));
  LoadPreviousCB.SetCaption(Text(1062));
  OriginRightBottomCB.SetHint(Text(1071));
  OriginRightBottomCB.SetCaption(Text(1072));
  SetTypeRG.SetHint(Text(1091));
  SetTypeRG.SetCaption(Text(1092));
  for (int i = 0; i < 3; ++i) SetTypeRG.SetItem(i, Text(1093 + i));
  HotKeyST.SetCaption(Text(1101));
  ShowMethodCB.SetHint(Text(1102));
  DetailGB.SetCaption(Text(1301));
  RightyRB.SetHint(Text(1311));
  RightyRB.SetCaption(Text(1312));
  LeftyRB.SetHint(Text(1321));
  LeftyRB.SetCaption(Text(1322));
  SpeedST.SetCaption(Text(1331));
  MouseSpeedNE.SetHint(Text(1332));
  SpeedTB.SetHint(Text(1333));
  Accel1CB.SetHint(Text(1341));
  MouseParam0NE.SetHint(Text(1342));
  Accel1CB.SetCaption(Text(1343));
  Accel2CB.SetHint(Text(1351));
  MouseParam1NE.SetHint(Text(1352));
  Accel2CB.SetCaption(Text(1353));
  WheelST.SetCaption(Text(1361));
  WheelSLNE.SetHint(Text(1362));
  WheelSLTB.SetHint(Text(1363));
  PreCursorButton.SetHint(Text(1371));
  PreCursorButton.SetCaption(Text(1372));
  NextCursorButton.SetHint(Text(1381));
  NextCursorButton.SetCaption(Text(1382));
  CursorST.SetCaption(Text(1391));
  DropPanel.SetHint(Text(1392));
  CursorLabel.SetHint(Text(1393));
  MnSetMouse.Caption = Text(1401);
  MnSetSlot.Caption = Text(1402);
  MnSetKey.Caption = Text(1403);
  MnCreateShortCut.Caption = Text(1404);
  MnDelete.Caption = Text(1405);
  MnShowMCPanel.Caption = Text(1412);
  MnReloadCursors.Caption = Text(1413);
  MnExit.Caption = Text(1414);
  SaveDialogFilter = Text(1421);
  MnOpenCursor.Caption = Text(1431);
  MnSetDefault.Caption = Text(1432);
  MnRepair.Caption = Text(1433);
  CursorOpenFilter = Text(1441);
  DelSettingButton.SetCaption(Text(1451));

  NonCloseCBClick();
}

}  // namespace tivoler
