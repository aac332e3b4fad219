#pragma once
// Scores for the style tests: a one-staff target in 4/4 (or with time changes), and styles
// built in memory the way the style editor makes them.

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/core/voice.h"

namespace veltrimond::styles::testing {

struct StyleNote {
  int time;
  std::vector<int> pitches;
  int duration = notecraft::durQuarter;
  int flags = 0;
};

// A style: one staff with one voice on `program` (a drum kit for row 128 and up), clef and
// time signature (packed numerator x 128 + beat note in 64ths) as given.
inline std::unique_ptr<notecraft::Score> MakeStyle(int clef, long beat,
                                                   const std::vector<StyleNote>& notes,
                                                   int program = 0) {
  auto style = std::make_unique<notecraft::Score>();
  style->CreateDefault();
  style->AllGlobals().SetDftTimeVal(static_cast<int>(beat));
  const auto staff = style->Staff(1);
  staff->Clear();
  style->AllInstruments().Clear();
  style->AllVoices().Clear();
  const auto voice =
      staff->AddVoice(style->AllInstruments().Add(style->AllInstruments().NewID(), program));
  staff->SetDefaultClef(clef);
  for (const StyleNote& n : notes) {
    const auto note = voice->Notes().Add(n.time, n.pitches.front(), n.duration, n.flags);
    for (std::size_t i = 1; i < n.pitches.size(); ++i) note->AddValue(n.pitches[i]);
  }
  return style;
}

// A target score: one staff in common time, or two staves.
inline std::unique_ptr<notecraft::Score> MakeTarget() {
  auto score = std::make_unique<notecraft::Score>();
  score->CreateDefault();
  return score;
}

// The notes of voice 1 of a staff as (time, pitches, duration, flags).
struct Written {
  int time;
  std::vector<int> pitches;
  int duration;
  int flags;
  bool operator==(const Written&) const = default;
};

inline std::vector<Written> NotesOf(const notecraft::Score& score, int staff = 1) {
  std::vector<Written> out;
  const auto voice = score.Staff(staff)->Voice(1);
  for (const auto& note : voice->Notes()) {
    Written w{note->NoteTime(), {}, note->Duration(), note->Flags()};
    for (const auto value : note->Values()) w.pitches.push_back(value);
    out.push_back(w);
  }
  return out;
}

inline std::vector<int> TimesOf(const notecraft::Score& score, int staff = 1) {
  std::vector<int> times;
  for (const Written& w : NotesOf(score, staff)) times.push_back(w.time);
  return times;
}

// Keeps what the engine tells the desktop, in place of the host's platform.
class RecordingPlatform final : public notecraft::Platform {
public:
  RecordingPlatform() : m_previous(notecraft::CurrentPlatform()) { notecraft::SetPlatform(this); }
  ~RecordingPlatform() override { notecraft::SetPlatform(&m_previous); }
  void AddToRecentDocs(const std::string& path) override { recents.push_back(path); }
  void ShowMessage(const std::string& title, const std::string& text) override {
    messages.push_back(title + ": " + text);
  }
  std::vector<std::string> recents;
  std::vector<std::string> messages;

private:
  notecraft::Platform& m_previous;
};

// A folder of its own for one test.
class TempFolder {
public:
  TempFolder() {
    static int counter = 0;
    m_path = std::filesystem::temp_directory_path() /
             ("styles-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(m_path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return m_path; }
  std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
  std::filesystem::path m_path;
};

}  // namespace veltrimond::styles::testing
