// The detail panel: the working settings, kept in step and applied at once.
#include "core/settings_file.h"
#include "main_form/control_ids.h"
#include "main_form/main_form.h"

namespace tivoler {

namespace {

void SetupNumberEdit(TNumberEdit& edit, int left, int top, const char* min, const char* max) {
  edit.SetBounds(left, top, 25, 20);
  edit.SetText("0");
  edit.SetMinus(true);
  edit.SetMax(max);
  edit.SetMin(min);
}

void SetupTrackBar(TTrackBar& bar, int left, int top, int width) {
  bar.SetBounds(left, top, width, 20);
  bar.SetRange(1, 20);
  bar.SetPosition(1);
  bar.SetFrequency(5);
}

}  // namespace

void TMainForm::CreateDetailPanel() {
  DetailGB.SetBounds(0, 52, 144, 297);
  DetailGB.SetVisible(false);

  RightyRB.SetBounds(8, 16, 57, 17);
  RightyRB.SetChecked(true);
  LeftyRB.SetBounds(72, 16, 57, 17);
  SpeedST.SetBounds(8, 38, 125, 17);
  SetupTrackBar(SpeedTB, 8, 56, 101);
  SetupNumberEdit(MouseSpeedNE, 112, 56, "1", "20");
  Accel1CB.SetBounds(27, 84, 81, 17);
  SetupNumberEdit(MouseParam0NE, 112, 84, "0", "16");
  MouseParam0NE.SetEnabled(false);
  Accel2CB.SetBounds(27, 108, 81, 17);
  Accel2CB.SetEnabled(false);
  SetupNumberEdit(MouseParam1NE, 112, 108, "0", "16");
  MouseParam1NE.SetEnabled(false);
  WheelST.SetBounds(8, 134, 125, 17);
  SetupTrackBar(WheelSLTB, 12, 152, 97);
  SetupNumberEdit(WheelSLNE, 112, 152, "1", "20");
  VersionST.SetBounds(70, 276, 68, 17);
  VersionST.SetCaption("version 2.1.9");

  SpeedTB.OnChange = [this] { SpeedTBChange(); };
  MouseSpeedNE.OnChange = [this] { MouseSpeedNEChange(); };
  WheelSLTB.OnChange = [this] { WheelSLTBChange(); };
  WheelSLNE.OnChange = [this] { WheelSLNEChange(); };
  MouseParam0NE.OnChange = [this] { ApplyToSystem(); };
  MouseParam1NE.OnChange = [this] { ApplyToSystem(); };
  RightyRB.OnClick = [this] { ApplyToSystem(); };
  LeftyRB.OnClick = [this] { ApplyToSystem(); };
  Accel1CB.OnClick = [this] { Accel1CBClick(); };
  Accel2CB.OnClick = [this] { Accel2CBClick(); };
  // A right click only moves the focus; the selection stays.
  for (TRadioButton* button : {&RightyRB, &LeftyRB}) {
    button->OnMouseUp = [button](TMouseButton released, int, int) {
      if (released == TMouseButton::Right) button->SetFocus();
    };
  }
}

void TMainForm::SpeedTBChange() {
  MouseSpeedNE.SetText(std::to_string(SpeedTB.Position()));
  ApplyToSystem();
}

void TMainForm::MouseSpeedNEChange() {
  SpeedTB.SetPosition(static_cast<int>(MouseSpeedNE.GetIntegerValue()));
  ApplyToSystem();
}

void TMainForm::WheelSLTBChange() {
  WheelSLNE.SetText(std::to_string(WheelSLTB.Position()));
  ApplyToSystem();
}

void TMainForm::WheelSLNEChange() {
  WheelSLTB.SetPosition(static_cast<int>(WheelSLNE.GetIntegerValue()));
  ApplyToSystem();
}

void TMainForm::Accel1CBClick() {
  if (Accel1CB.Checked()) {
    if (MouseParam0NE.Text() == "0") MouseParam0NE.SetText("1");
    MouseParam0NE.SetEnabled(true);
    Accel2CB.SetEnabled(true);
  } else {
    MouseParam0NE.SetText("0");
    MouseParam0NE.SetEnabled(false);
    Accel2CB.SetEnabled(false);
    Accel2CB.SetChecked(false);
  }
  Accel2CBClick();
}

void TMainForm::Accel2CBClick() {
  if (Accel2CB.Checked()) {
    if (MouseParam1NE.Text() == "0") {
      MouseParam1NE.SetText(std::to_string(DecimalValue(MouseParam0NE.Text()) + 1));
    }
    MouseParam1NE.SetEnabled(true);
  } else {
    MouseParam1NE.SetText("0");
    MouseParam1NE.SetEnabled(false);
  }
  ApplyToSystem();
}

}  // namespace tivoler
