#include "controls/number_edit.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace tivoler {

namespace {

// The bounds a setter corrects a bound text within. A corrected text holds at most
// nine digits and never reaches them; they only bound the values of an empty text.
const char kWideMax[] = "999999999999999999";
const char kWideMin[] = "-999999999999999999";

constexpr int kMaxDigits = 9;

bool IsDigit(char c) {
  // Taken as a signed byte, so that no byte of a multi-byte character is a digit.
  const signed char b = static_cast<signed char>(c);
  return b >= '0' && b <= '9';
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) < 33; }

// Reads a whole decimal number: an optional sign and at least one digit, nothing
// else, within the range of a 64-bit integer.
int64_t ReadInteger(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  const bool plus = first != last && *first == '+';
  if (plus) ++first;
  const char* digits = (!plus && first != last && *first == '-') ? first + 1 : first;
  bool valid = digits != last;
  for (const char* p = digits; p != last && valid; ++p) valid = IsDigit(*p);
  int64_t value = 0;
  if (valid) {
    const std::from_chars_result r = std::from_chars(first, last, value);
    valid = r.ec == std::errc() && r.ptr == last;
  }
  if (!valid) throw EConvertError("'" + text + "' is not a valid integer value");
  return value;
}

// Reads a decimal number with "." as the point: an optional
// sign, digits with at most one point (at least one digit) and an optional
// exponent, correctly rounded to single precision.
float ReadFloat(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  const bool plus = first != last && *first == '+';
  if (plus) ++first;
  const char* p = (!plus && first != last && *first == '-') ? first + 1 : first;
  int digits = 0;
  while (p != last && IsDigit(*p)) ++p, ++digits;
  if (p != last && *p == '.') {
    ++p;
    while (p != last && IsDigit(*p)) ++p, ++digits;
  }
  bool valid = digits > 0;
  if (valid && p != last && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p != last && (*p == '+' || *p == '-')) ++p;
    valid = p != last;
    while (p != last && IsDigit(*p)) ++p;
  }
  valid = valid && p == last;
  float value = 0;
  if (valid) {
    // The program never changes the C library's locale, so "." is its point.
    const std::string number(first, last);
    char* end = nullptr;
    value = std::strtof(number.c_str(), &end);
    valid = end == number.c_str() + number.size() && std::isfinite(value);
  }
  if (!valid) throw EConvertError("'" + text + "' is not a valid floating point value");
  return value;
}

// Truncates toward zero; a value beyond the 64-bit range gives the nearest end.
int64_t Truncate(float value) {
  constexpr float kTwo63 = 9223372036854775808.0f;
  if (std::isnan(value)) return 0;
  if (value >= kTwo63) return std::numeric_limits<int64_t>::max();
  if (value < -kTwo63) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

// Up to 15 significant digits, "." as the point, exponent only when needed
// (the single-precision 1.1 gives "1.10000002384186").
std::string FormatGeneral(float value) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, "%.15g", static_cast<double>(value));
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace

TNumberEdit::TNumberEdit(TForm& form, TControl* parent, int id) : TEdit(form, parent, id) {
  SetText("0");
  numberString_ = "0";
}

void TNumberEdit::SetFloatEnabled(bool value) {
  floatEnabled_ = value;
  max_ = CorrectBound(max_);
  min_ = CorrectBound(min_);
}

void TNumberEdit::SetMinus(bool value) {
  minus_ = value;
  max_ = CorrectBound(max_);
  min_ = CorrectBound(min_);
}

void TNumberEdit::SetMax(const std::string& value) { max_ = CorrectBound(value); }

void TNumberEdit::SetMin(const std::string& value) { min_ = CorrectBound(value); }

std::string TNumberEdit::CorrectBound(const std::string& value) {
  return CorrectNumericString(value, minus_, floatEnabled_, kWideMax, kWideMin);
}

int64_t TNumberEdit::GetIntegerValue() {
  CorrectNumericString(Text(), minus_, floatEnabled_, max_, min_);
  return integerValue_;
}

float TNumberEdit::GetFloatValue() {
  CorrectNumericString(Text(), minus_, floatEnabled_, max_, min_);
  return floatValue_;
}

void TNumberEdit::RefreshValue() {
  const std::string text = numberString_;
  SetText(text);
}

void TNumberEdit::Change() {
  numberString_ = CorrectNumericString(Text(), minus_, floatEnabled_, max_, min_);
  TEdit::Change();
}

void TNumberEdit::KeyPress(char& key) {
  if (key == 13) {
    RefreshValue();
    key = 0;
    return;
  }
  TEdit::KeyPress(key);
}

std::string TNumberEdit::CorrectNumericString(const std::string& s, bool allowMinus,
                                              bool allowFloat, const std::string& maxText,
                                              const std::string& minText) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;

  std::string kept;
  bool negative = false;
  bool pointSeen = false;
  int digitCount = 0;
  for (size_t i = begin; i < end; ++i) {
    const char c = s[i];
    if (allowMinus && c == '-' && !negative && kept.empty()) {
      negative = true;
    } else if (allowFloat && c == '.' && !pointSeen) {
      pointSeen = true;
      kept += '.';
    } else if (IsDigit(c) && digitCount < kMaxDigits) {
      kept += c;
      ++digitCount;
    }
  }
  // A point without a digit carries no number: count it as not typed.
  if (digitCount == 0) kept.clear();

  if (kept.empty() && negative) {
    integerValue_ = 0;
    floatValue_ = 0;
    return "-";
  }

  const std::string typed = negative ? "-" + kept : kept;
  std::string result;
  if (allowFloat) {
    const float hi = ReadFloat(maxText);
    const float lo = ReadFloat(minText);
    float f = 0;
    if (!kept.empty()) {
      f = ReadFloat(kept);
      if (negative) f = -f;
      float c = f;
      if (f < lo) c = lo;
      if (f > hi) c = hi;
      if (c != f) {
        f = c;
        result = FormatGeneral(f);
      } else {
        result = typed;
      }
    } else {
      // No number: 0 brought into the bounds, each test after the other.
      if (f < lo) f = lo;
      if (f > hi) f = hi;
    }
    floatValue_ = f;
    integerValue_ = Truncate(f);
  } else {
    const int64_t hi = ReadInteger(maxText);
    const int64_t lo = ReadInteger(minText);
    int64_t v = 0;
    if (!kept.empty()) {
      v = ReadInteger(kept);
      if (negative) v = -v;
      int64_t c = v;
      if (v < lo) c = lo;
      if (v > hi) c = hi;
      if (c != v) {
        v = c;
        result = std::to_string(v);
      } else {
        result = typed;
      }
    } else {
      if (v < lo) v = lo;
      if (v > hi) v = hi;
    }
    integerValue_ = v;
    floatValue_ = static_cast<float>(v);
  }
  return result;
}

}  // namespace tivoler
