// Plain rules about slots: the slot number on the command line, a slot's hot-key
// text, and cutting a text to fit the tray tip.
#include "core/slot_rules.h"

#include <climits>

namespace tivoler {

int ParseSlotArgument(const std::string& argument) {
  size_t i = 0;
  bool negative = false;
  if (i < argument.size() && (argument[i] == '-' || argument[i] == '+')) {
    negative = argument[i] == '-';
    ++i;
  }
  if (i == argument.size()) return 0;
  long long value = 0;
  for (; i < argument.size(); ++i) {
    const char c = argument[i];
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return 0;
  return static_cast<int>(value);
}

bool KeyCharacter(const std::string& key, char* character) {
  size_t i = key.size() > 0 && key[0] == '-' ? 1 : 0;
  if (i == key.size() || key.size() - i > 3) return false;
  int value = 0;
  for (; i < key.size(); ++i) {
    if (key[i] < '0' || key[i] > '9') return false;
    value = value * 10 + (key[i] - '0');
  }
  if (key[0] == '-') value = -value;
  if (value < -128 || value > 127) return false;
  *character = static_cast<char>(static_cast<signed char>(value));
  return true;
}

std::string KeyCode(char key) { return std::to_string(static_cast<signed char>(key)); }

std::string CutAtCharacter(OsPort& os, const std::string& text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = 0;
  while (end < limit) {
    const size_t width = os.IsDBCSLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace tivoler
