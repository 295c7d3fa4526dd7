// Names shared between running instances (and with the end-to-end tests).
#pragma once

namespace tivoler {

constexpr char kMutexName[] = "Tivoler";
constexpr char kWindowTitle[] = "Tivoler";
constexpr char kApplicationTitle[] = "Tivoler";

constexpr int kSlotCount = 10;
constexpr int kProfileCount = kSlotCount + 1;  // profile 0 is the previous configuration

}  // namespace tivoler
