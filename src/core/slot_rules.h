// Plain rules about slots: the slot number on the command line, a slot's hot-key
// text, and cutting a text to fit the tray tip.
#pragma once

#include <cstddef>
#include <string>

#include "platform/os_port.h"

namespace tivoler {

// The whole argument as a decimal integer (optional sign); 0 for any other text.
int ParseSlotArgument(const std::string& argument);

// The hot-key character a Key text stands for: a decimal number in -128..127 (the
// character code taken as a signed byte). Any other text (only a hand-edited
// settings file holds one) names no character.
bool KeyCharacter(const std::string& key, char* character);
// The Key text of a hot-key character.
std::string KeyCode(char key);

// The longest start of text within limit bytes that does not end inside a two-byte
// character of the ANSI code page.
std::string CutAtCharacter(OsPort& os, const std::string& text, size_t limit);

}  // namespace tivoler
