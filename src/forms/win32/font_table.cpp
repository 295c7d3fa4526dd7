#include "forms/win32/font_table.h"

namespace tivoler {

FontTable::~FontTable() {
  for (const Entry& entry : fonts_) {
    if (entry.handle) DeleteObject(entry.handle);
  }
}

HFONT FontTable::Get(const TFont& font) {
  for (const Entry& entry : fonts_) {
    if (entry.font.Name == font.Name && entry.font.Height == font.Height &&
        entry.font.Charset == font.Charset) {
      return entry.handle;
    }
  }
  HFONT created = CreateFontA(
      -font.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, static_cast<BYTE>(font.Charset),
      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font.Name.c_str());
  fonts_.push_back(Entry{font, created});
  return created;
}

}  // namespace tivoler
