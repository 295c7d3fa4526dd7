// The key pairs that, held for a while, bring up the main window.
#pragma once

#include <array>

namespace tivoler {

struct HoldKeyPair {
  const char* Text;  // entry text of the list; nullptr where the string table gives it
  int TextId;        // string id for the entries that are translated, else 0
  int FirstKey;      // virtual-key codes; both must be down
  int SecondKey;
};

constexpr int kHoldKeyChoices = 13;
extern const std::array<HoldKeyPair, kHoldKeyChoices> kHoldKeyPairs;

}  // namespace tivoler
