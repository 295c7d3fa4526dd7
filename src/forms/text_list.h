// An ordered list of text lines with the name=value lookup of settings files.
#pragma once

#include <string>
#include <vector>

namespace tivoler {

class TStringList {
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> lines) : lines_(lines) {}

  int Count() const { return static_cast<int>(lines_.size()); }
  bool Empty() const { return lines_.empty(); }
  const std::string& operator[](int i) const { return lines_[static_cast<size_t>(i)]; }
  std::string& operator[](int i) { return lines_[static_cast<size_t>(i)]; }
  void Add(const std::string& line) { lines_.push_back(line); }
  void Clear() { lines_.clear(); }
  void Resize(int count) { lines_.resize(static_cast<size_t>(count)); }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Index of the first line whose part before its first "=" equals name, ignoring
  // the case of ASCII letters; -1 when there is none.
  int IndexOfName(const std::string& name) const;
  // Everything after the first "=" of that line; the empty text when there is none.
  std::string Value(const std::string& name) const;

  // Lines split at CR LF, CR or LF; a last line without terminator counts too.
  void SetText(const std::string& text);
  // Every line followed by CR LF.
  std::string Text() const;

 private:
  std::vector<std::string> lines_;
};

// Case-insensitive comparison of ASCII letters; other bytes compare exactly.
bool SameAsciiText(const std::string& a, const std::string& b);
std::string LowerAscii(std::string text);

}  // namespace tivoler
