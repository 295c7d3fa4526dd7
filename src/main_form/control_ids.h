// Window ids of the main window's controls (also used by the end-to-end tests).
#pragma once

namespace tivoler::ids {

constexpr int kFirstSlotButton = 101;  // Button1 .. Button10: 101 .. 110
constexpr int kDetailButton = 111;
constexpr int kOptionButton = 112;
constexpr int kStatusBar = 113;

constexpr int kDetailGB = 300;
constexpr int kRightyRB = 301;
constexpr int kLeftyRB = 302;
constexpr int kSpeedTB = 303;
constexpr int kMouseSpeedNE = 304;
constexpr int kAccel1CB = 305;
constexpr int kMouseParam0NE = 306;
constexpr int kAccel2CB = 307;
constexpr int kMouseParam1NE = 308;
constexpr int kWheelSLTB = 309;
constexpr int kWheelSLNE = 310;
constexpr int kSpeedST = 311;
constexpr int kWheelST = 312;
constexpr int kVersionST = 313;
constexpr int kCursorST = 314;
constexpr int kDropPanel = 315;
constexpr int kPaintBox = 316;
constexpr int kCursorLabel = 317;
constexpr int kPreCursorButton = 318;
constexpr int kNextCursorButton = 319;

constexpr int kOptionGB = 200;
constexpr int kNonCloseCB = 201;
constexpr int kSetAndCloseCB = 202;
constexpr int kMinimizeStartCB = 203;
constexpr int kLoadPreviousCB = 204;
constexpr int kOriginRightBottomCB = 205;
constexpr int kSetTypeRG = 206;
constexpr int kSetTypeFirstItem = 207;  // 207, 208, 209
constexpr int kHotKeyST = 210;
constexpr int kShowMethodCB = 211;
constexpr int kDelSettingButton = 212;

}  // namespace tivoler::ids
