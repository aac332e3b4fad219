// Score: opening, saving and reloading files, and replaying a parsed native score file
// into the score (the bytes themselves are read and written in notecraft/io/).

#include "notecraft/core/score.h"

#include <algorithm>
#include <climits>
#include <variant>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/platform.h"
#include "notecraft/io/filebytes.h"
#include "notecraft/io/filecommit.h"
#include "notecraft/io/fileops.h"
#include "notecraft/io/midifilehooks.h"
#include "notecraft/io/scorefilereader.h"
#include "notecraft/io/scorefilewriter.h"
#include "notecraft/io/scoreimage.h"
#include "notecraft/io/tempfiles.h"

namespace notecraft {

namespace {

// Every start and length of a native file stays below 2^24, so nothing past 2^25 bytes can
// belong to one. MIDI files are read whole up to a size no score needs.
constexpr std::size_t kMaxNativeBytes = 2 * static_cast<std::size_t>(kN4Limit);
constexpr std::size_t kMaxOpenBytes = 64u << 20;

constexpr char kUnrecognised[] = "File contains an unrecognised format.";

template <typename... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

bool StartsWith(std::span<const std::uint8_t> bytes, const char (&magic)[5]) {
  return bytes.size() >= 4 && std::equal(bytes.begin(), bytes.begin() + 4, magic);
}

// Adds events of one file section in file order. GlobalEvents::Add puts an event before
// the last one already standing at its time, so a run of events sharing a time is added
// last-first, then the others: the list then holds them in the order they were written,
// and saving the score again writes the same bytes.
void AddInFileOrder(GlobalEvents& list, const std::vector<ScoreImage::Event>& events) {
  list.Reserve(Internal{}, events.size());
  auto add = [&](const ScoreImage::Event& e) {
    list.Add(e.Time, e.Type, e.Value1, e.Value2, e.Text.empty() ? std::string() : TextFromFile(e.Text));
  };
  auto sameList = [](int a, int b) { return (a == evtTimeChange) == (b == evtTimeChange); };
  std::size_t i = 0;
  while (i < events.size()) {
    std::size_t j = i + 1;
    while (j < events.size() && events[j].Time == events[i].Time &&
           sameList(events[j].Type, events[i].Type))
      ++j;
    const int t = events[i].Time;
    const bool empty = events[i].Type == evtTimeChange ? !list.Find(t, evtTimeChange, true)
                                                       : list.At(t).empty();
    if (j - i > 1 && empty) {
      add(events[j - 1]);
      for (std::size_t k = i; k + 1 < j; ++k) add(events[k]);
    } else {
      for (std::size_t k = i; k < j; ++k) add(events[k]);
    }
    i = j;
  }
}

}  // namespace

// --- Opening ---

bool Score::OpenFile(const std::string& path) noexcept {
  if (m_opening) return false;
  m_opening = true;
  bool ok = false;
  try {
    ok = OpenFileUnguarded(path);
  } catch (...) {
    m_lastFileError = "The file could not be opened: out of memory or an internal error.";
    try {
      CurrentPlatform().ShowMessage("Open", m_lastFileError);
    } catch (...) {
    }
  }
  try {
    RestartPagination(1);
    SetRedraw(true);
  } catch (...) {
  }
  m_opening = false;
  return ok;
}

bool Score::OpenFileUnguarded(const std::string& path) {
  SetRedraw(false);
  m_lastFileError.clear();
  auto fail = [&](const std::string& message) {
    m_lastFileError = message;
    CurrentPlatform().ShowMessage("Open", message);
    return false;
  };

  auto file = ReadFileBytes(path, kMaxOpenBytes);
  if (!file) return fail(path + ": " + file.Error().Message + ".");
  m_fileLength = static_cast<std::int64_t>(file.Value().Size);
  const std::span<const std::uint8_t> bytes = file.Value().Bytes();

  bool ok = false;
  if (StartsWith(bytes, "Vm00")) {
    ok = ReadScoreFile(Internal{}, bytes.first(std::min(bytes.size(), kMaxNativeBytes)), path);
    if (!ok) return fail(m_lastFileError);
  } else if (StartsWith(bytes, "MThd")) {
    const auto read = TheMidiFileHooks().Read;
    if (!read) return fail("Standard MIDI Files cannot be opened: MIDI import is not available.");
    if (file.Value().Size > kMaxOpenBytes) return fail("The MIDI file is too large to open.");
    ok = read(*this, bytes, path);  // shows its own message on failure
    if (!ok && m_lastFileError.empty()) m_lastFileError = "The MIDI file could not be read.";
  } else {
    return fail(kUnrecognised);
  }
  if (ok) {
    m_playbackStale = true;
    AddToRecentDocs(path);
    RemoveStaleTempFiles(path);  // left beside it by a save that was cut off
  }
  return ok;
}

bool Score::ReadScoreFile(Internal, std::span<const std::uint8_t> bytes,
                          const std::string& path) noexcept {
  bool applying = false;
  try {
    auto image = ScoreFileReader::Parse(bytes);
    if (!image) {
      m_lastFileError = image.Error().Message;
      return false;
    }
    if (!m_opening) m_fileLength = static_cast<std::int64_t>(bytes.size());
    applying = true;
    ApplyScoreImage(image.Value(), path);
    m_lastFileError.clear();
    return true;
  } catch (...) {
    m_lastFileError = "The file could not be read: out of memory or an internal error.";
    if (applying) {
      // Part of the content is replaced: forget the path, so that saving cannot write the
      // part over the file.
      m_initialising = false;
      m_filePath.clear();
    }
    return false;
  }
}

// Replays a parsed file into the score through the model's own operations, in file order,
// so that their limits and rules apply to what is read.
void Score::ApplyScoreImage(const ScoreImage& image, const std::string& path) {
  const Internal key;
  const int size = static_cast<int>(std::min<std::int64_t>(m_fileLength, INT_MAX));
  Raise([size](ScoreEvents& l) { l.BeforeOpenSave(size); });
  m_initialising = true;
  ClearUndo(key);  // its records name the content that goes now
  ClearContents(key, path);

  std::shared_ptr<notecraft::Staff> staff;  // the latest staff: staff data applies to it
  bool scoreHasKey = false;                 // the score-wide events held a key change
  bool staffKeySeen = false;
  int pulse = 0;

  auto keyFrom = [this](int value1, int value2) {
    m_key = KeyFromByte(value1);
    m_minor = value2 != 0;
  };

  for (const auto& step : image.Steps) {
    std::visit(
        Overloaded{
            [&](const ScoreImage::Progress& p) {
              Raise([&](ScoreEvents& l) { l.ProgressReport(p.Position); });
            },
            [&](const ScoreImage::Header& h) {
              for (const auto& font : h.Fonts) {
                if (font.Description) SplitImportText(key, font.Font, *font.Description);
                if (!font.Text1) continue;
                switch (font.Font) {
                  case fntTitle: m_title = *font.Text1; break;
                  case fntSubTitle: m_subTitle = *font.Text1; break;
                  case fntHeader: m_heading = *font.Text1; break;
                  case fntComposer:
                    m_composer = *font.Text1;
                    m_arrangedBy = font.Text2.value_or("");
                    break;
                  default:
                    m_copyright[0] = *font.Text1;
                    m_copyright[1] = font.Text2.value_or("");
                    break;
                }
              }
              if (h.StaffHeight) SetStaffHeight(*h.StaffHeight);
              if (h.StaffSpace) SetStaffSpace(*h.StaffSpace);
              if (h.SystemSpace) SetSystemSpace(*h.SystemSpace);
              for (int m = marTop; m <= marRight; ++m)
                if (const auto& v = h.Margins[static_cast<std::size_t>(m)]) SetMargins(m, *v);
              if (h.PageNums) m_pageNums = *h.PageNums;
              if (h.ReverseEvenOdd) m_reverseEvenOdd = *h.ReverseEvenOdd;
              if (h.UseChords) m_useChords = *h.UseChords;
              if (h.UseChordMaps) m_useChordMaps = *h.UseChordMaps;
              if (h.Count) SetCount(*h.Count);
              if (h.Pulse) pulse = *h.Pulse;
            },
            [&](const ScoreImage::Events& events) {
              if (!events.OfStaff) {
                for (const auto& e : events.Items)
                  if (e.Type == evtKeyChange) scoreHasKey = true;
                AddInFileOrder(*m_globals, events.Items);
                auto k = m_globals->Find(0, evtKeyChange, true);
                if (!k) k = m_globals->Add(0, evtKeyChange, 0, 0);
                keyFrom(k->Value1(), k->Value2());
                return;
              }
              if (!staff) return;
              auto& list = staff->GlobalEvents();
              int verses = staff->Verses();
              for (const auto& e : events.Items) {
                if (e.Type == evtKeyChange && e.Time == 0 && !scoreHasKey && !staffKeySeen) {
                  // A score-wide list without a key takes the first staff key at time 0 as
                  // the score's key (older files rely on it). A staff key later than 0 is a
                  // key change of that staff and stays one.
                  staffKeySeen = true;
                  keyFrom(e.Value1, e.Value2);
                  if (auto k = m_globals->Find(0, evtKeyChange, true)) {
                    k->SetValue1(e.Value1);
                    k->SetValue2(e.Value2);
                  }
                }
                if (e.Type == evtLyric) {
                  // One line a verse, separated by carriage returns.
                  const auto lines = std::count(e.Text.begin(), e.Text.end(), std::uint8_t{'\r'}) + 1;
                  verses = std::max(verses, static_cast<int>(std::min<std::ptrdiff_t>(lines, 255)));
                }
              }
              AddInFileOrder(list, events.Items);
              staff->SetVerses(key, verses);
              if (!list.Find(0, evtKeyChange, true))
                list.Add(0, evtKeyChange, static_cast<std::uint8_t>(KeyToByte(m_key)),
                         m_minor ? 255 : 0);
            },
            [&](const ScoreImage::Instruments& list) {
              for (const auto& in : list.Items) {
                auto ins = m_instruments->Add(in.ID, in.Program);
                if (!ins) continue;  // the reader has made sure this cannot happen
                // The table's category for the program the instrument has: the record's
                // program unless Add gave back another instrument of the same ID, whose
                // program stays (checking the record's would leave a category that the
                // next save and open undo).
                const int tableCategory = TheCommon().Instruments.InstrumentFromCode(ins->Value());
                ins->SetCategory(key, in.Category == tableCategory || in.Category == catDrums
                                          ? in.Category
                                          : catSolo);
                ins->SetDefaultClef(key, in.Clef);
                ins->SetDescription(key, in.Description);
                if (in.Offset) ins->SetOffset(key, *in.Offset);
                if (in.Pitch) ins->SetPitch(key, *in.Pitch);
                if (in.Low) ins->MutableRange(key).SetLow(key, *in.Low);
                if (in.High) ins->MutableRange(key).SetHigh(key, *in.High);
                if (in.Category == catDrums) {
                  for (std::size_t slot = 0; slot < in.Drums.size() && slot < 8; ++slot) {
                    ins->SetDrumValue(static_cast<int>(slot) + 1, in.Drums[slot].first);
                    ins->SetDrumCode(static_cast<int>(slot) + 1, in.Drums[slot].second);
                  }
                }
              }
            },
            [&](const ScoreImage::StaffHeader& h) {
              staff = m_staffs->AddStaff(key, m_staffs->NewID(), "New", std::nullopt, true);
              if (!staff || !h.HasFields) return;
              staff->SetDescription(h.Description);
              if (h.ScalePct) staff->SetScalePct(*h.ScalePct);
              if (h.Clef) staff->SetDefaultClef(*h.Clef);
              if (h.Flags) staff->SetFlags(*h.Flags);
              if (h.State) {
                staff->SetMute((*h.State & 1) != 0);
                staff->SetVisible((*h.State & 2) != 0);
              }
              if (h.Brace) staff->SetBrace(key, *h.Brace);
            },
            [&](const ScoreImage::Voices& voices) {
              if (!staff) return;
              for (const auto& v : voices.Items) {
                auto ins = m_instruments->Add(m_instruments->NewID(), v.Program);
                const int clef = staff->DefaultClef();  // the first voice would set it
                auto voice = staff->AddVoice(ins);
                if (!voice) continue;  // the reader has made sure this cannot happen
                voice->SetDescription(v.Description);
                staff->SetDefaultClef(clef);
                Notes& notes = voice->Notes();
                notes.Reserve(key, v.NoteCount);
                auto progress = v.Progress.begin();
                std::size_t at = 0;  // in the note records, all complete
                for (std::uint32_t k = 0; k < v.NoteCount; ++k) {
                  if (progress != v.Progress.end() && progress->first == k) {
                    const int position = progress->second;
                    Raise([position](ScoreEvents& l) { l.ProgressReport(position); });
                    ++progress;
                  }
                  const auto record = v.NoteRecords.subspan(at);
                  const int time = notecraft::BytesToLong(record.first(4));
                  const int duration = notecraft::BytesToLong(record.subspan(4, 4));
                  const int flags = notecraft::BytesToLong(record.subspan(8, 4));
                  const auto pitches = record.subspan(13, record[12]);
                  at += 13 + pitches.size();
                  // The first pitch that is a MIDI note makes the note; others are skipped.
                  Notes::NotePtr note;
                  for (const std::uint8_t pitch : pitches) {
                    if (pitch > 127) continue;
                    if (!note)
                      note = notes.AddStored(key, time, pitch, duration, flags);
                    else
                      note->AddValue(pitch);
                  }
                }
              }
            },
        },
        step);
  }

  if (pulse > 0) m_globals->SetPulseValue(pulse);
  // Where the score ends (its last notes whole, or its final bar): what a relayout finds, so
  // that a page painted before pagination starts over already holds the last measure.
  m_endTime = ScoreEndTime();
  Raise([](ScoreEvents& l) { l.AfterOpenSave(); });
  m_fileType = fmtVeltrimond;
  m_activeVoice = 1;
  Raise([](ScoreEvents& l) { l.ActiveVoice(1); });
  if (auto first = Staff(1)) {
    first->SetSelected(true);
    Raise([&](ScoreEvents& l) { l.ActiveStaff(first); });
  }
  m_initialising = false;
  SetChanged(false);
  PaintWindow();
}

void Score::ClearContents(Internal, const std::string& path) {
  EndPlayback(Internal{});  // its events came from the content that goes now
  m_minor = false;  // before the events go, so that no stale key event comes back
  m_key = 0;
  ClearCollections();
  m_filePath = path;
  m_curPage = 1;
  m_lastPage = 1;
  m_selectedMeasure = 0;  // the next paint selects the first measure of the new content
  m_activeVoice = 1;
  m_verse = 1;
  m_curTime = 0;
  m_endTime = 0;
  m_pageTimes.assign(1, Range{});
  m_pageLayouts.assign(1, Range{});
  m_title.clear();
  m_subTitle.clear();
  m_heading.clear();
  m_composer.clear();
  m_arrangedBy.clear();
  m_copyright = {};
  m_beat = durQuarter;
  m_count = 120;
  m_metronome = true;
}

void Score::SplitImportText(Internal, int font, const std::string& text) {
  if (font < fntTitle || font > fntCopyright) return;
  FontSpec& f = *m_fonts[static_cast<std::size_t>(font)];
  f.Underline = false;
  std::vector<std::string> fields;
  std::size_t from = 0;
  while (true) {
    const std::size_t bar = text.find('|', from);
    fields.push_back(text.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
    if (bar == std::string::npos) break;
    from = bar + 1;
  }
  if (fields.size() < 2) return;
  std::string name = fields[1];
  name.erase(0, name.find_first_not_of(' '));
  name.erase(name.find_last_not_of(' ') + 1);
  f.Name = name;
  if (fields.size() > 2) f.Size = static_cast<float>(Val(fields[2]));
  if (fields.size() > 3) f.Bold = Val(fields[3]) == 1;
}

// --- Saving ---

bool Score::SaveFile(const std::string& path, int fileType) noexcept {
  try {
    if (m_opening) {
      m_lastFileError = "The score cannot be saved while it is being opened.";
      return false;
    }
    const std::string target = path.empty() ? m_filePath : path;
    const int format = path.empty() ? m_fileType : fileType;
    if (target.empty()) {
      m_lastFileError = "The score has no file name yet.";
      return false;
    }
    bool ok = false;
    if (format == fmtVeltrimond) {
      ok = WriteScoreFile(target);
    } else if (format == fmtMIDI) {
      const auto write = TheMidiFileHooks().Write;
      if (!write) {
        m_lastFileError = "Standard MIDI Files cannot be saved: MIDI export is not available.";
      } else if (auto bytes = write(*this); !bytes) {
        m_lastFileError = bytes.Error().Message;
      } else if (auto done = CommitFile(target, bytes.Value()); !done) {
        m_lastFileError = done.Error().Message;
      } else {
        ok = true;
      }
    } else {
      m_lastFileError = "Unknown file format " + std::to_string(format) + ".";
    }
    if (!ok) return false;
    m_lastFileError.clear();
    m_filePath = target;
    m_fileType = format;
    SetChanged(false);
    ClearUndo(Internal{});
    return true;
  } catch (...) {
    m_lastFileError = "The score could not be saved: out of memory or an internal error.";
    return false;
  }
}

bool Score::WriteScoreFile(const std::string& path) {
  auto bytes = ScoreFileWriter::Write(*this);
  if (!bytes) {
    m_lastFileError = bytes.Error().Message;
    return false;
  }
  if (auto done = CommitFile(path, bytes.Value()); !done) {
    m_lastFileError = done.Error().Message;
    return false;
  }
  return true;
}

void Score::Reload() noexcept {
  try {
    if (!m_filePath.empty()) {
      OpenFile(m_filePath);
    } else {
      ClearUndo(Internal{});  // the records named the content CreateDefault replaces
      CreateDefault();
    }
  } catch (...) {
  }
}

std::string Score::FileTitle() const {
  if (m_filePath.empty()) return "New Score";
  std::string name;
  if (auto back = m_filePath.rfind('\\'); back != std::string::npos) {
    name = m_filePath.substr(back + 1);
  } else if (auto slash = m_filePath.rfind('/'); slash != std::string::npos) {
    name = m_filePath.substr(slash + 1);
  } else if (m_filePath.size() >= 2 && m_filePath[1] == ':') {
    name = m_filePath.substr(2);
  } else {
    name = m_filePath;
  }
  if (auto dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
  return name;
}

int Score::FileType(Internal) const { return m_fileType; }

void Score::SetFileType(Internal, int type) { m_fileType = type; }

std::string Score::LongToBytes(Internal, std::uint32_t value) {
  return notecraft::LongToBytes(value);
}

std::int32_t Score::BytesToLong(Internal, std::string_view text) {
  return notecraft::BytesToLong(text);
}

}  // namespace notecraft
