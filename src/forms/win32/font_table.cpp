#include "forms/win32/font_table.h"

#include "forms/screen.h"

namespace tivoler {

FontTable::~FontTable() {
  for (const Entry& entry : fonts_) {
    if (entry.handle) DeleteObject(entry.handle);
  }
}

HFONT FontTable::Get(const TFont& font, int dpi) {
  for (const Entry& entry : fonts_) {
    if (entry.font.Name == font.Name && entry.font.Height == font.Height &&
        entry.font.Charset == font.Charset && entry.dpi == dpi) {
      return entry.handle;
    }
  }
  HFONT created =
      CreateFontA(-ScaleToDpi(font.Height, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                  static_cast<BYTE>(font.Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, DEFAULT_PITCH, font.Name.c_str());
  fonts_.push_back(Entry{font, dpi, created});
  return created;
}

}  // namespace tivoler
