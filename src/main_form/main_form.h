// TMainForm: the program's one window. It owns the profile table, the working
// settings, every control and every event handler.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/number_edit.h"
#include "core/cursor_scheme.h"
#include "core/mouse_profile.h"
#include "core/names.h"
#include "core/resource_ids.h"
#include "forms/application.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/menus.h"
#include "forms/message.h"
#include "forms/screen.h"
#include "forms/timer.h"
#include "platform/owned_handles.h"

namespace tivoler {

class TMainForm : public TForm {
 public:
  // args: the command-line arguments without the program name.
  TMainForm(TApplication& app, std::vector<std::string> args);
  ~TMainForm() override;

  // Client sizes of the window, and the main timer's tick.
  static constexpr int kClientWidth = 143;
  static constexpr int kCollapsedClientHeight = 67;
  static constexpr int kExpandedClientHeight = 367;
  static constexpr unsigned kMainTimerInterval = 600;
  // The settings file is written this long after the last change of a burst.
  static constexpr unsigned kSaveDelay = 1000;

  OsPort& Os() { return App().Os(); }
  CursorScheme& Scheme() { return scheme_; }
  TMouseProfile& Profile(int n) { return *profiles_.at(static_cast<size_t>(n)); }
  // The text of a string id in the user's language.
  std::string Text(int id);
  int LanguageOffset = 0;

  // ---- slot buttons (tags 1 to 10), panel buttons, status line ----
  TButton Button1, Button2, Button3, Button4, Button5;
  TButton DetailButton;
  TButton Button6, Button7, Button8, Button9, Button10;
  TButton OptionButton;
  TStatusBar StatusBar;

  // ---- detail panel: the working settings ----
  TGroupBox DetailGB;
  TRadioButton RightyRB;
  TRadioButton LeftyRB;
  TTrackBar SpeedTB;
  TNumberEdit MouseSpeedNE;
  TCheckBox Accel1CB;
  TNumberEdit MouseParam0NE;
  TCheckBox Accel2CB;
  TNumberEdit MouseParam1NE;
  TTrackBar WheelSLTB;
  TNumberEdit WheelSLNE;
  TStaticText SpeedST;
  TStaticText WheelST;
  TStaticText VersionST;

  // ---- cursor preview, on the detail panel ----
  TStaticText CursorST;
  TPanel DropPanel;
  TPaintBox PaintBox;
  TLabel CursorLabel;
  TButton PreCursorButton;
  TButton NextCursorButton;
  TPopupMenu CursorMenu;
  TMenuItem& MnOpenCursor;
  TMenuItem& MnSetDefault;
  TMenuItem& N5;
  TMenuItem& MnRepair;
  // The position in profile 0's roles of the role shown.
  int CurrentRole = 0;
  // The cursor shown; one loaded from a file belongs to the window.
  ShownCursor PreviewCursor;
  // Dialog filters, in the user's language.
  std::string CursorOpenFilter;
  std::string ProgramOpenFilter;
  std::string SaveDialogFilter;

  // ---- option panel ----
  TGroupBox OptionGB;
  TCheckBox NonCloseCB;
  TCheckBox SetAndCloseCB;
  TCheckBox MinimizeStartCB;
  TCheckBox LoadPreviousCB;
  TCheckBox OriginRightBottomCB;
  TRadioGroup SetTypeRG;
  TStaticText HotKeyST;
  TDropDownList ShowMethodCB;
  TButton DelSettingButton;

  // ---- slot menu ----
  TPopupMenu PopupMenu;
  TMenuItem& MnSetMouse;
  TMenuItem& N3;
  TMenuItem& MnSetSlot;
  TMenuItem& MnSetKey;
  TMenuItem& MnCreateShortCut;
  TMenuItem& N4;
  TMenuItem& MnDelete;
  TMenuItem& N7;
  TMenuItem& MnUseWithMouse;    // its submenu lists the pointing devices
  TMenuItem& MnUseWithProgram;  // ... and this one the programs

  // ---- tray menu ----
  TPopupMenu TaskTrayMenu;
  TMenuItem& MnShow;
  TMenuItem& MnShowMCPanel;
  TMenuItem& N2;
  TMenuItem& N1;
  TMenuItem& MnReloadCursors;
  TMenuItem& N6;
  TMenuItem& MnExit;

  // The tray menu's entries for slots 1 to 10 (index 0 unused).
  std::array<TMenuItem*, kSlotCount + 1> TraySlotItems{};

  // Main timer: the hold-keys monitor and the deferred exit after a command-line slot.
  TTimer Timer;
  // Clears the status line ten seconds after the mouse last moved over a set slot.
  TTimer StatusTimer;
  // Writes the settings file once a burst of changes is over (ArmSave).
  TTimer SaveTimer;

  // The slot whose button was last pressed, focused or hovered (-1: none yet).
  int CurrentSlot = -1;
  // The next typed character becomes the current slot's hot key.
  bool KeyCapture = false;
  // The tray icon record, kept for the life of the window.
  TrayIconData TrayRecord;
  std::string TrayTip() const { return TrayRecord.szTip; }

  // Ids of the registered window messages (0 until FormCreate registers them).
  unsigned IconNotifyMsg = 0;
  unsigned DoubleExecuteMsg = 0;
  unsigned DoubleExeGetParamMsg = 0;
  unsigned TaskbarCreatedMsg = 0;

  // The coming close ends the program even where a close would otherwise hide.
  bool ExitRequested = false;
  // A command-line slot was applied and the program ends on the next timer tick.
  bool CloseAfterApply = false;

  // Window state: expanded to show a panel, which panel, the saved position.
  bool Expanded = false;
  int ShownPanel = 0;
  int PositionX = 0;
  int PositionY = 0;
  // The monitor the saved position was measured on, in 96-DPI units (empty: none
  // known). With "Origin Right Bottom" the distances count from its edges while a
  // monitor with this rectangle is there.
  TRect PositionMonitor;
  int HoldCounter = 0;

  void WndProc(TMessage& msg) override;

  // ---- process and window ----
  void ForceForeground(Handle wnd);
  void SetWindowShown(bool shown);
  void SetExpanded(bool expand);
  // Every hide: the slot button takes the focus, the window hides, then collapses.
  void HideWindow();
  void PlaceWindow();
  void RecordPosition();
  void AppMinimize();
  void NonCloseCBClick();
  void MnShowClick();
  void MnExitClick();

  bool CollapseIfShown(int panel);
  void DetailButtonClick();
  void OptionButtonClick();

  // ---- system mouse parameters ----
  // Element flags: which parts of a profile are stored or loaded.
  static constexpr int kMouseParameters = 1;
  static constexpr int kCursorScheme = 2;
  static constexpr int kAllElements = 3;
  // The working settings to the system and the registry, then the preview refreshed;
  // nothing while the loading guard is set.
  void ApplyToSystem();
  // The swap, the three system parameters and the six registry values.
  void WriteMouseParameters();
  void ReadFromSystem(bool store);
  // Reads the system again after it may have been changed from outside (announced by
  // the system, or about to be stored in a slot). Only when the system differs from the
  // working settings (or, with cursors, from the stored scheme) is the previous
  // configuration stored, the preview refreshed and the tray tip renewed: true then.
  bool FollowSystem(bool cursors, bool announced);
  // The system's announcement of a changed setting (its set action).
  void SystemSettingChanged(uintptr_t action);
  void StoreProfile(int n, int flags);
  bool LoadProfile(int n, int flags);
  bool ReadSwapSetting();
  bool Loading() const { return loading_; }

  // ---- detail panel ----
  void SpeedTBChange();
  void MouseSpeedNEChange();
  void WheelSLTBChange();
  void WheelSLNEChange();
  void Accel1CBClick();
  void Accel2CBClick();
  // ---- cursor preview ----
  // Shows the current role: its picture and its name.
  bool ShowRole();
  void LoadPreviewFromFile(const std::string& path);
  bool IsLoadableCursor(const std::string& path);
  // Makes path the current role's file: a loadable ".cur" or ".ani" file, or the
  // empty text for the built-in cursor. Anything else is refused silently.
  bool SetCurrentRoleFile(const std::string& path);
  // The first dropped file, a shortcut resolved to its target; nothing when no
  // file came or a dropped shortcut leads nowhere.
  std::optional<std::string> DroppedFileName(TMessage& msg);
  void NextCursorButtonClick();
  void PreCursorButtonClick();
  void MnOpenCursorClick();
  void MnSetDefaultClick();
  void MnRepairClick();
  void PaintBoxPaint(TCanvas& canvas);
  void InstallDropTarget();
  void RemoveDropTarget();

  // ---- shortcuts ----
  void MnCreateShortCutClick();

  // ---- settings file ----
  void LoadSettings();
  // Writes the file when what it would hold differs from what it was last read or
  // written with (or it is missing). Nothing after a successful uninstall.
  void SaveSettings();
  // Every change to what the settings file holds calls this: the file is written
  // kSaveDelay after the last of a burst of calls. Before the file was read and
  // after a successful uninstall it does nothing.
  void ArmSave();
  void SaveTimerTimer();
  void DelSettingButtonClick();

  // ---- slots ----
  TButton& Button(int n) { return *slotButtons_.at(static_cast<size_t>(n)); }
  // Applies profile n (0 to 10); false when there is nothing to apply.
  bool ApplySlot(int n, bool beep, bool refreshTip);
  // A slot the user chose (button, hot key, tray, second start): applied with the beep,
  // and the configuration remembered for a program in front is forgotten.
  bool ApplyChosenSlot(int n);
  void SetSlotFromSystem(int n);
  void RefreshSlot(int n);
  void RefreshAllSlots();
  void SelectSlot(TButton& button);
  void ShowSlotStatus(TButton& button);
  void ShowStatus(const TMouseProfile& profile);
  std::string SlotSummary(const TMouseProfile& profile);
  static std::string CompactSummary(const TMouseProfile& profile);
  int SetTypeFlags();
  void ButtonClick();
  void ButtonMouseDown(TButton& button);
  void ButtonEnter(TButton& button);
  void ButtonMouseMove(TButton& button);
  void RightSetClick();
  void MnSetSlotClick();
  void MnSetKeyClick();
  void MnDeleteClick();
  void StatusTimerTimer();
  void TraySlotClick(int n);
  void SetTypeRGClick();

  // ---- pointing devices bound to slots ----
  struct ConnectedDevice {
    Handle Device = kNoHandle;
    std::string Id;
    std::string Name;
  };
  // The pointing devices attached now, as last listed.
  std::vector<ConnectedDevice> ConnectedDevices;
  // The devices the slot menu lists now, in its order.
  std::vector<BoundDevice> MenuDevices;
  // Raw mouse input is registered: some set slot holds a device.
  bool RawInputRegistered = false;
  // The device of the last input seen, and the one whose input made the last switch.
  Handle LastInputDevice = kNoHandle;
  Handle SwitchDevice = kNoHandle;
  void RefreshDevices();
  void FillDeviceMenu();
  // Binds device to slot n, taking it from any other slot; unbinds it when n has it.
  void ToggleDevice(int n, const BoundDevice& device);
  // The slot a device belongs to; 0 when none.
  int SlotOfDevice(const std::string& id);
  // Registers raw mouse input while a set slot holds a device, and ends it otherwise.
  void UpdateRawInputRegistration();
  // Drops what a hand-edited file could hold: devices of empty slots, a device in a
  // second slot.
  void CheckDeviceBindings();
  bool SlotInForce(int n);
  std::string DeviceNames(const TMouseProfile& profile);
  void RawInput(TMessage& msg);
  void DevicesChanged();

  // ---- programs bound to slots ----
  // The programs the slot menu lists now, in its order.
  std::vector<std::string> MenuPrograms;
  // The hook on foreground changes: set while some set slot holds a program.
  Handle ForegroundHook = kNoHandle;
  // The configuration in force before a bound program's slot was applied, while it is
  // to be put back.
  std::optional<TMouseProfile> Remembered;
  void FillProgramMenu();
  // Binds the program to slot n, taking it from any other slot; unbinds it when n has
  // it and unbind is true.
  void ToggleProgram(int n, const std::string& name, bool unbind);
  void MnOtherProgramClick(int n);
  // The slot a program belongs to; 0 when none.
  int SlotOfProgram(const std::string& name);
  // The program of a process: its executable's file name; empty when it cannot be read.
  std::string ProgramOfProcess(uint32_t process);
  // The program a window of the process belongs to (a store app's frame: the app it
  // holds); hosted tells whether the frame's content decided.
  std::string ProgramOfWindow(Handle wnd, uint32_t process, bool* hosted);
  // Sets the hook while a set slot holds a program and removes it otherwise.
  void UpdateForegroundHook();
  // Drops what a hand-edited file could hold: programs of empty slots, a program in a
  // second slot, path parts, names no file can have.
  void CheckProgramBindings();
  void ForegroundChanged(Handle wnd);
  // Puts the remembered configuration back, or applies the slot of the mouse in use.
  void SwitchBack();
  // Puts the remembered configuration back (the parts the set type covers); nothing
  // when none is remembered.
  void PutBackRemembered(bool refreshTip);
  std::string ProgramNames(const TMouseProfile& profile);

  // ---- tray icon ----
  void AddTrayIcon();
  void RemoveTrayIcon();
  void UpdateTrayIcon();
  void SetTrayIconState(bool hot);
  bool UseModernIcons();
  void MnShowMCPanelClick();

  // ---- texts ----
  // Chooses the language from the user's default language (once, at construction).
  void ChooseLanguage();
  // Puts every localised text at its place.
  void ApplyLanguage();

  // ---- hold keys ----
  void UpdateShowMenuCaption();
  void ShowMethodCBChange();
  void TimerTimer();

 protected:
  void FormCreate() override;
  void FormDestroy() override;
  void FormShow() override;
  void FormHide() override;
  void FormCloseQuery(bool& canClose) override;
  void FormKeyUp(int key, TShiftState shift) override;
  void FormKeyPress(char& key) override;
  void FormMoved() override { ArmSave(); }

 private:
  // The settings file's lines as the state now gives them.
  std::string SettingsText();
  // The screen a position from the right-bottom corner is measured on.
  TRect PositionScreen();
  // The settings were read at start (saves may be armed), the uninstall removed them.
  bool settingsRead_ = false;
  bool uninstalled_ = false;
  // The content the file was last read or written with.
  std::string settingsText_;
  // A failed delayed save showed its error; later ones in this run stay silent.
  bool saveErrorShown_ = false;
  void HandleIconNotify(TMessage& msg);
  // Sends the tray record with the given flags: up to 100 tries, 500 ms apart, then
  // silence.
  void SendTrayRecord(uint32_t message, uint32_t flags);
  // The tip the tray accepted with the last record sent; empty after a refusal. While
  // it is set the tray also holds the record's icon and callback message.
  std::string trayShownTip_;
  std::string TrayIconName(bool hot);
  void CreateSlotArea();
  void CreateCursorPanel();
  void DropHandler(TMessage& msg);
  TControl::TWndMethod dropPanelProc_;  // the panel's own procedure while the drop handler runs
  void CreateDetailPanel();
  void CreateOptionPanel();
  // Sets the loading guard for a scope and clears it again, also when an error
  // ends the scope early.
  class LoadingScope;
  bool loading_ = false;
  // The working settings as one text, to tell whether a read changed them.
  std::string WorkingState();
  // The mouse parameters as the system answers for them; a part it refused is not had.
  struct SystemMouse {
    bool haveMouse = false;
    bool haveSpeed = false;
    bool haveLines = false;
    int mouse[3] = {0, 0, 0};
    int speed = 0;
    uint32_t lines = 0;
    bool operator==(const SystemMouse& other) const;
  };
  // The live answers that lagged behind an announced change, while they still do.
  std::optional<SystemMouse> laggingLive_;
  SystemMouse LiveMouseParameters();
  SystemMouse StoredMouseParameters();
  // The mouse parameters into the panel's controls, under the loading guard.
  void ShowMouseParameters(const SystemMouse& system);
  // "The screen": the full rectangle of the monitor that holds a point (the primary
  // monitor when none does), or of the monitor the window's centre is on.
  TRect ScreenAt(int x, int y) { return MonitorAt(Os(), x, y).Bounds(); }
  TRect WindowScreen() { return MonitorOf(Os(), TRect{Left(), Top(), Width(), Height()}).Bounds(); }

  std::vector<std::string> args_;
  CursorScheme scheme_;
  std::array<std::unique_ptr<TMouseProfile>, kProfileCount> profiles_;
  std::array<TButton*, kSlotCount + 1> slotButtons_{};
  // Windows whose program was looked up, with the slot it belongs to (-1: a window that
  // changes nothing), by the window's handle, which names one window for its life.
  struct KnownWindow {
    Handle Window;
    int Slot;
  };
  std::vector<KnownWindow> knownWindows_;
};

}  // namespace tivoler
