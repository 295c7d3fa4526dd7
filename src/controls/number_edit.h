// TNumberEdit: a single-line edit for a whole number (or, when enabled, a decimal
// number) within bounds. Typing is never filtered; the visible text stays as typed.
// Each change of the text computes a corrected copy of it, the number string, with
// its integer and float values; Enter puts the number string into the visible text.
//
// Correction keeps at most nine digits, one leading minus (when Minus is on) and
// one point (when FloatEnabled is on), and drops everything else. A number outside
// [Min, Max] becomes the bound it crossed; the test against Max comes second and
// wins when both apply.
//
// Two cases the rules above leave open are settled here:
//  - A point without any digit ("." or "-.") carries no number, so it counts as
//    if it had not been typed: "." corrects to the empty text and "-." to "-",
//    with the values of those texts (0 brought into the bounds for the empty
//    text, 0 as it is for the lone minus).
//  - Bounds in reverse order (Min above Max) are accepted as they are. Both tests
//    look at the uncorrected number, so a number below Min and not above Max
//    becomes Min, one above Max becomes Max. Such a field is of no use, but it
//    never fails; the setters do not reorder the bounds.
//
// Each bound must hold at least one digit. A bound without one (Max or Min set
// from a text without digits, which corrects to the empty text) makes the next
// correction throw EConvertError, which the event dispatch boundary shows.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "forms/controls.h"

namespace tivoler {

// A text that should hold a number does not.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TNumberEdit : public TEdit {
 public:
  TNumberEdit(TForm& form, TControl* parent, int id);

  bool FloatEnabled() const { return floatEnabled_; }
  bool Minus() const { return minus_; }
  const std::string& Max() const { return max_; }
  const std::string& Min() const { return min_; }

  // The flag setters store the flag, then correct Max and then Min with the new
  // flags (so turning FloatEnabled off makes a Max of "1.5" into "15").
  void SetFloatEnabled(bool value);
  void SetMinus(bool value);
  // Stores the corrected text as the bound.
  void SetMax(const std::string& value);
  void SetMin(const std::string& value);

  // Corrects the visible text and returns the value; the number string stays.
  int64_t GetIntegerValue();
  float GetFloatValue();
  // Puts the number string into the visible text (which corrects it anew when
  // the text differs).
  void RefreshValue();
  const std::string& GetNumberString() const { return numberString_; }

  // Returns the corrected form of s and stores its integer and float values.
  // maxText and minText must each hold a number; otherwise throws EConvertError.
  std::string CorrectNumericString(const std::string& s, bool allowMinus, bool allowFloat,
                                   const std::string& maxText, const std::string& minText);

  // Enter (13) puts the number string into the visible text and goes no further;
  // every other key passes unchanged.
  void KeyPress(char& key) override;

 protected:
  // Recomputes the number string, then runs OnChange.
  void Change() override;

 private:
  std::string CorrectBound(const std::string& value);

  bool floatEnabled_ = false;
  bool minus_ = true;
  std::string max_ = "1000";
  std::string min_ = "-1000";
  std::string numberString_ = "0";
  int64_t integerValue_ = 0;
  float floatValue_ = 0;
};

}  // namespace tivoler
