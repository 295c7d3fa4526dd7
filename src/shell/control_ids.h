// Window ids of the main window's controls (also used by the end-to-end tests).
#pragma once

namespace tivoler::ids {

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
