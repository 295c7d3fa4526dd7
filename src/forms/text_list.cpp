#include "forms/text_list.h"

namespace tivoler {

namespace {
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool SameAsciiText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerChar(a[i]) != LowerChar(b[i])) return false;
  }
  return true;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) c = LowerChar(c);
  return text;
}

int TStringList::IndexOfName(const std::string& name) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    // Compared in place: this runs for every key of every profile on every line.
    if (line.size() <= name.size() || line[name.size()] != '=') continue;
    bool same = true;
    for (size_t k = 0; k < name.size() && same; ++k) {
      same = LowerChar(line[k]) == LowerChar(name[k]) && line[k] != '=';
    }
    if (same) return static_cast<int>(i);
  }
  return -1;
}

std::string TStringList::Value(const std::string& name) const {
  const int i = IndexOfName(name);
  if (i < 0) return std::string();
  const std::string& line = lines_[static_cast<size_t>(i)];
  return line.substr(line.find('=') + 1);
}

void TStringList::SetText(const std::string& text) {
  lines_.clear();
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines_.push_back(text.substr(start, i - start));
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
    ++i;
  }
  if (start < text.size()) lines_.push_back(text.substr(start));
}

std::string TStringList::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace tivoler
