#include "Veltrimond/styles/insertrange.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "Veltrimond/styles/stylepattern.h"

namespace veltrimond::styles {

namespace {

bool IsWord(const std::string& text, const char* word) {
  std::string trimmed;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c)))
      trimmed += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string lower;
  for (const char* p = word; *p; ++p)
    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
  return trimmed == lower;
}

// The signed decimal number the text starts with (blanks before it allowed), rounded.
double LeadingNumber(const std::string& text) {
  const char* begin = text.c_str();
  char* stop = nullptr;
  const double value = std::strtod(begin, &stop);
  if (stop == begin || !std::isfinite(value)) return 0;
  return std::nearbyint(value);
}

}  // namespace

int ReadNumber(const std::string& text) {
  return static_cast<int>(std::clamp(LeadingNumber(text), 0.0, double{kToScoreEnd}));
}

int FirstMeasure(const std::string& atText) {
  if (IsWord(atText, "First")) return 1;
  return std::clamp(ReadNumber(atText), 1, kToScoreEnd - 1);
}

int EndMeasure(int first, bool forCount, const std::string& quantText,
               const std::string& throughText) {
  int end = 0;
  if (forCount) {
    end = first + ReadNumber(quantText);
  } else {
    end = IsWord(throughText, "Last") ? kToScoreEnd : ReadNumber(throughText) + 1;
  }
  // Only "Last" means the end of the score.
  if (end >= kToScoreEnd && (forCount || !IsWord(throughText, "Last"))) end = kToScoreEnd - 1;
  return end <= first ? first + 1 : end;
}

int StyleShift(const std::string& octaveText, int rootIndex) {
  if (rootIndex < 0) return 0;
  const double octave = std::clamp(LeadingNumber(octaveText), -3.0, 3.0);
  return static_cast<int>(octave) * 12 + std::min(rootIndex, 11);
}

}  // namespace veltrimond::styles
