#include "Veltrimond/styles/styleentry.h"

#include <algorithm>
#include <cctype>

#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/core/voice.h"

namespace veltrimond::styles {

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string BeatText(long beat) {
  switch (beat) {
    case kBeat24:
      return "2/4";
    case kBeat34:
      return "3/4";
    case kBeat44:
      return "4/4";
    default:
      break;
  }
  std::string text = std::to_string(beat / 128);
  switch (beat % 128) {
    case 8:
      return text + "/8";
    case 16:
      return text + "/4";
    case 32:
      return text + "/2";
    case 64:
      return text + "/1";
    default:
      return text + "/16";
  }
}

std::string TypeWord(int type) {
  switch (type) {
    case kTreble:
      return "Treble";
    case kBass:
      return "Bass";
    case kDrums:
      return "Drums";
    default:
      return {};
  }
}

std::string ItemText(const StyleEntry& entry) {
  return entry.name + " - [" + TypeWord(entry.type) + ", " + BeatText(entry.beat) + "]";
}

std::string StyleNameOfItem(const std::string& item) {
  const auto bracket = item.rfind('[');
  if (bracket == std::string::npos) return Trimmed(item);
  std::string name = item.substr(0, bracket);
  constexpr std::string_view kJoin = " - ";
  if (name.size() >= kJoin.size() && name.ends_with(kJoin)) name.resize(name.size() - kJoin.size());
  return Trimmed(name);
}

std::string TypeWordOfItem(const std::string& item) {
  const auto bracket = item.rfind('[');
  if (bracket == std::string::npos) return {};
  const auto comma = item.find(',', bracket);
  if (comma == std::string::npos) return {};
  std::string word = Trimmed(item.substr(bracket + 1, comma - bracket - 1));
  std::transform(word.begin(), word.end(), word.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return word;
}

bool PassesFilters(const StyleEntry& entry, int typeIndex, int beatIndex) {
  if (typeIndex > 0 && entry.type != typeIndex - 1) return false;
  switch (beatIndex) {
    case 1:
      return entry.beat == kBeat24;
    case 2:
      return entry.beat == kBeat34;
    case 3:
      return entry.beat == kBeat44;
    case 4:
      return entry.beat != kBeat24 && entry.beat != kBeat34 && entry.beat != kBeat44;
    default:
      return true;
  }
}

std::optional<StyleEntry> DescribeStyle(const notecraft::Score& style, const std::string& name,
                                        std::string* why) {
  const auto staff = style.Staff(1);
  if (!staff) {
    if (why) *why = "it has no staff";
    return std::nullopt;
  }
  if (!staff->Voice(1)) {
    if (why) *why = "its staff has no voice";
    return std::nullopt;
  }
  StyleEntry entry;
  entry.name = name;
  switch (staff->DefaultClef()) {
    case notecraft::clfPercussion:
      entry.type = kDrums;
      break;
    case notecraft::clfBass:
      entry.type = kBass;
      break;
    default:
      entry.type = kTreble;
      break;
  }
  // Common time reads 0 and cut time 1: a whole and a half measure of quarters.
  const long beat = style.AllGlobals().DftTimeVal();
  entry.beat = beat == 0 ? kBeat44 : beat == 1 ? kBeat24 : beat;
  return entry;
}

bool IsDrumStyle(const notecraft::Score& style) {
  const auto staff = style.Staff(1);
  const auto voice = staff ? staff->Voice(1) : nullptr;
  const auto instrument = voice ? voice->Instrument() : nullptr;
  return instrument && instrument->Category() == notecraft::catDrums;
}

}  // namespace veltrimond::styles
