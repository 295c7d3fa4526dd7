// The table of key pairs offered for bringing up the main window.
#include "core/hold_keys.h"

#include "core/resource_ids.h"

namespace tivoler {

const std::array<HoldKeyPair, kHoldKeyChoices> kHoldKeyPairs = {{
    {nullptr, kTextHoldKeyNone, 0, 0},  // None: the monitor is off
    {"ESC", 0, 0x1B, 0x1B},
    {"ESC + Tab", 0, 0x1B, 0x09},
    {"ESC + LShift", 0, 0x1B, 0xA0},
    {"Home + End", 0, 0x24, 0x23},
    {"LShift + RShift", 0, 0xA0, 0xA1},
    {"LCtrl + RCtrl", 0, 0xA2, 0xA3},
    {"LShift + LCtrl", 0, 0xA0, 0xA2},
    {"RShift + RCtrl", 0, 0xA1, 0xA3},
    {"LShift + RCtrl", 0, 0xA0, 0xA3},
    {"LCtrl + RShift", 0, 0xA2, 0xA1},
    {nullptr, kTextHoldKeyLeftRight, 0x01, 0x02},  // left and right mouse buttons
    {nullptr, kTextHoldKeyMiddle, 0x04, 0x04},     // middle mouse button
}};

}  // namespace tivoler
