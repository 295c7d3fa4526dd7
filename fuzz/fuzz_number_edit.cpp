// Fuzzes the numeric edit's correction of typed text.
// Input: one flag byte (bit 0: minus allowed, bit 1: decimal point allowed), then
// the text, the upper bound and the lower bound, separated by line feeds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "controls/number_edit.h"
#include "fake_os.h"
#include "forms/application.h"
#include "forms/form.h"

namespace {

std::string NextPart(const std::string& data, size_t* pos) {
  if (*pos > data.size()) return std::string();
  const size_t end = data.find('\n', *pos);
  const size_t stop = end == std::string::npos ? data.size() : end;
  std::string part = data.substr(*pos, stop - *pos);
  *pos = stop + 1;
  return part;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

// Every corrected text is made of digits, signs, a point and an exponent mark.
void CheckCorrected(const std::string& text) {
  for (char c : text) Check((c >= '0' && c <= '9') || c == '-' || c == '.' || c == 'e' || c == '+');
}

bool IsWholeNumber(const std::string& text) {
  size_t i = (!text.empty() && text[0] == '-') ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool allowMinus = (data[0] & 1) != 0;
  const bool allowFloat = (data[0] & 2) != 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  size_t pos = 0;
  const std::string text = NextPart(rest, &pos);
  const std::string maxText = NextPart(rest, &pos);
  const std::string minText = NextPart(rest, &pos);

  tivoler::test::FakeOs os;
  tivoler::TApplication app(os, nullptr);
  tivoler::TForm form(app);
  tivoler::TNumberEdit edit(form, nullptr, 1);

  // The correction itself, with bounds exactly as given.
  try {
    CheckCorrected(edit.CorrectNumericString(text, allowMinus, allowFloat, maxText, minText));
  } catch (const tivoler::EConvertError&) {
  }

  // The control, with its bounds corrected by the setters.
  edit.SetMinus(allowMinus);
  edit.SetFloatEnabled(allowFloat);
  edit.SetMax(maxText);
  edit.SetMin(minText);
  CheckCorrected(edit.Max());
  CheckCorrected(edit.Min());
  try {
    edit.SetText(text);
    const std::string number = edit.GetNumberString();
    CheckCorrected(number);
    char key = 13;
    edit.KeyPress(key);
    Check(key == 0);
    Check(edit.Text() == number);
    const int64_t value = edit.GetIntegerValue();
    edit.GetFloatValue();
    // A whole number within ordered bounds stays within them.
    if (!allowFloat && IsWholeNumber(edit.Max()) && IsWholeNumber(edit.Min()) &&
        edit.GetNumberString() != "-") {
      const int64_t hi = std::strtoll(edit.Max().c_str(), nullptr, 10);
      const int64_t lo = std::strtoll(edit.Min().c_str(), nullptr, 10);
      if (lo <= hi) Check(value >= lo && value <= hi);
    }
  } catch (const tivoler::EConvertError&) {
  }
  return 0;
}
