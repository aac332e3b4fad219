#include "notecraft/midi/midiimporter.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <queue>
#include <string_view>

#include "notecraft/core/common.h"
#include "notecraft/core/cp1252.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/midi/clefcue.h"

namespace notecraft {

namespace {

constexpr int kDrumChannel = 9;
// The first drum row of the instrument table: a drum kit made for a percussion track.
constexpr int kDrumRow = 128;
constexpr int kProgressEvery = 101;

// A meta event's text. Writers that store C strings leave their NULs at its end; they are
// no part of it (a score file would keep each as "?").
std::string TextOf(std::span<const std::uint8_t> data) {
  while (!data.empty() && data.back() == 0) data = data.first(data.size() - 1);
  return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

std::string BeforeBar(const std::string& text) {
  return text.substr(0, text.find('|'));
}

// The numbers after the first character of a cue, separated by "|": field 1 first.
double CueField(const std::string& text, int field) {
  std::size_t from = 1;
  for (int i = 1; i < field; ++i) {
    const std::size_t bar = text.find('|', from);
    if (bar == std::string::npos) return 0;
    from = bar + 1;
  }
  if (from > text.size()) return 0;
  return Val(std::string_view(text).substr(from, text.find('|', from) - from));
}

// How many time signatures stand at or before time: the index of the one in force there.
int SignaturesUpTo(const GlobalEvents& g, int time) {
  int lo = 1, hi = g.TimeItemCount(), found = 0;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    if (g.TimeItem(mid)->EventTime() <= time) {
      found = mid;
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return found;
}

// Lays notes into a voice in time order: the notes starting at one time form a chord as
// long as its longest note, but ending by the next chord's start. A chord is added once its
// length is known, after the one before it, so Notes::Add trims only that one, as reading
// the notes from a score file does: the voice is what a score file gives back.
class ChordLayer {
public:
  explicit ChordLayer(Notes& notes) : m_notes(notes) {}
  // Time and pitches of the chord in hand (the last one laid); -1 before the first.
  int Time() const { return m_time; }
  bool Holds(int pitch) const {
    return std::find(m_pitches.begin(), m_pitches.end(), pitch) != m_pitches.end();
  }
  // Times never decrease from one call to the next.
  void Lay(int time, int length, int pitch) {
    if (time != m_time) {
      Add(time);
      m_time = time;
      m_length = 0;
    }
    m_length = std::max(m_length, length);
    m_pitches.push_back(pitch);
  }
  void Finish() { Add(INT_MAX); }

private:
  void Add(int nextTime) {
    if (m_pitches.empty()) return;
    const auto [duration, flags] = MidiImporter::FitLength(std::min(m_length, nextTime - m_time));
    const auto chord = m_notes.Add(m_time, m_pitches.front(), duration, flags);
    for (std::size_t i = 1; chord && i < m_pitches.size(); ++i)
      chord->AddValue(static_cast<std::uint8_t>(m_pitches[i]));
    m_pitches.clear();
  }

  Notes& m_notes;
  int m_time = -1;
  int m_length = 0;
  std::vector<int> m_pitches;  // of the chord in hand
};

}  // namespace

struct MidiImporter::TrackState {
  std::size_t Index = 0;
  std::shared_ptr<notecraft::Staff> Staff;
  std::shared_ptr<notecraft::Voice> Voice;
  // Time signatures and key signatures snap back to a bar counted from the track's
  // previous time signature.
  int SigPosition = 0;
  std::int64_t SnapLength = 64;
  std::array<int, 128> Sounding{};  // per pitch, its note's place in Notes; -1 when silent
  bool Named = false;               // a track name has been read
  bool HasLyrics = false;
  bool ClefCue = false;  // the track names its staff's clef
  // The track's notes in the order they started; laid into the voice once the track is read.
  std::vector<Sounded> Notes;
};

// --- Entry point ---

bool MidiImporter::Open(Score& score, std::span<const std::uint8_t> bytes,
                        const std::string& path) {
  return score.ReadMIDIFile(Internal{}, bytes, path);
}

// --- Conversions ---

std::int64_t MidiImporter::ScoreTime(std::int64_t ticks, int division) {
  // Exact in integers: floor(ticks / division x 16) for ticks >= 0. A division of 16
  // gives the ticks themselves.
  return ticks * 16 / division;
}

std::pair<int, int> MidiImporter::FitLength(std::int64_t length) {
  if (length <= 1) return {1, 0};
  if (length == 2) return {2, 0};
  if (length <= 4) return {4, 0};
  if (length == 5) return {8, nteTriplet};
  if (length == 6) return {4, nteDot};
  if (length <= 8) return {8, 0};
  if (length <= 11) return {16, nteTriplet};
  if (length <= 14) return {8, nteDot};
  if (length <= 16) return {16, 0};
  if (length <= 23) return {32, nteTriplet};
  if (length <= 30) return {16, nteDot};
  if (length <= 32) return {32, 0};
  if (length <= 47) return {64, nteTriplet};
  if (length <= 63) return {32, nteDot};
  return {64, 0};
}

// --- Checking ---

std::optional<std::string> MidiImporter::Check() {
  if (auto failure = m_reader.ReadStructure(kMaxTracks)) {
    return std::string(failure->NotSupported ? kNotSupported : kInvalidData) + "\n" +
           failure->Detail;
  }
  const auto& tracks = m_reader.Tracks();
  m_summaries.assign(tracks.size(), TrackSummary{});
  std::int64_t notes = 0;
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    auto cursor = m_reader.Events(tracks[i]);
    TrackSummary& summary = m_summaries[i];
    bool channelKnown = false;
    bool noteSeen = false;
    SmfEvent e;
    while (cursor.Next(e)) {
      if (e.Type != SmfEvent::Kind::Channel) continue;
      const bool noteOn = e.Command() == 0x90 && e.Data2 > 0;
      if (e.Command() == 0xC0 && summary.Program < 0) summary.Program = e.Data1;
      // A track is a drum track when its first note (or, without notes, its first
      // channel event) is on the percussion channel.
      if (!channelKnown || (noteOn && !noteSeen)) summary.Drums = e.Channel() == kDrumChannel;
      channelKnown = true;
      if (noteOn) {
        noteSeen = true;
        summary.HasNotes = true;
        ++summary.NoteOns;
        ++notes;
      }
    }
    if (cursor.Error()) {
      return std::string(kInvalidData) + "\nTrack " + std::to_string(i + 1) + ": " +
             *cursor.Error() + " (near byte " + std::to_string(cursor.Position()) + ").";
    }
  }
  if (notes > kMaxNotes) {
    return std::string(kNotSupported) + "\nIt holds " + std::to_string(notes) +
           " notes; a score takes at most " + std::to_string(kMaxNotes) + ".";
  }
  return std::nullopt;
}

// --- Applying ---

void MidiImporter::Apply(const std::string& path) {
  Score& s = m_score;
  const Internal key;
  const int size = static_cast<int>(std::min<std::int64_t>(s.m_fileLength, INT_MAX));
  s.Raise([size](ScoreEvents& l) { l.BeforeOpenSave(size); });
  s.m_initialising = true;
  s.ClearUndo(key);  // its records name the content that goes now
  s.EndPlayback(key);

  const auto& tracks = m_reader.Tracks();
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    const int position = static_cast<int>(tracks[i].Begin);
    s.Raise([position](ScoreEvents& l) { l.ProgressReport(position); });
    if (i == 0) {
      s.ClearContents(key, path);
      MakeInstruments();
    }
    ReadTrack(i);
  }
  // A note can be written longer than it sounded (a drum hit, a note shorter than a 64th):
  // the score ends with the last note whole, as well as with the last event.
  s.m_endTime = std::max(s.m_endTime, s.ScoreEndTime());

  if (auto first = s.Staff(1); first && !m_firstTrackLyrics.empty()) {
    for (auto& [time, text] : m_firstTrackLyrics)
      first->GlobalEvents().Add(time, evtLyric, 0, 0, std::move(text));
    first->SetVerses(key, std::max(first->Verses(), 1));
  }

  // The score's key also stands as the key event at time 0 of the score-wide list.
  if (!s.m_globals->Find(0, evtKeyChange, true)) {
    s.m_globals->Add(0, evtKeyChange, static_cast<std::uint8_t>(KeyToByte(s.m_key)),
                     s.m_minor ? 255 : 0);
  }

  s.Raise([](ScoreEvents& l) { l.AfterOpenSave(); });
  s.SetFileType(key, fmtMIDI);
  s.m_activeVoice = 1;
  s.Raise([](ScoreEvents& l) { l.ActiveVoice(1); });
  if (auto first = s.Staff(1)) {
    first->SetSelected(true);
    s.Raise([&](ScoreEvents& l) { l.ActiveStaff(first); });
  }
  s.m_initialising = false;
  s.m_playbackStale = true;  // the playback file, if any, is of the content that went
  s.SetChanged(false);
  s.PaintWindow();
}

// One instrument per track from its first program change; tracks of one program share
// it (the score holds at most 16). Drum tracks share one drum kit on channel 9, made from
// the first drum row of the table after every melodic instrument.
void MidiImporter::MakeInstruments() {
  Instruments& list = m_score.AllInstruments();
  m_instruments.assign(m_summaries.size(), nullptr);
  std::shared_ptr<Instrument> previous;
  for (std::size_t i = 0; i < m_summaries.size(); ++i) {
    if (m_summaries[i].Drums || !HasStaff(i)) continue;
    auto ins = list.Add(list.NewID(), std::max(0, m_summaries[i].Program));
    if (!ins) ins = previous ? previous : list.Item(1);  // 16 instruments already
    m_instruments[i] = ins;
    previous = ins;
  }
  std::shared_ptr<Instrument> kit;
  for (std::size_t i = 0; i < m_summaries.size(); ++i) {
    if (!m_summaries[i].Drums || !HasStaff(i)) continue;
    if (!kit) {
      for (const auto& ins : list)
        if (ins->Category() == catDrums) kit = ins;
    }
    if (!kit) {
      kit = list.Add(list.NewID(), kDrumRow);
      if (kit) {
        kit->SetCategory(Internal{}, catDrums);
        kit->SetDescription(Internal{}, "Drums");
      }
    }
    m_instruments[i] = kit ? kit : (previous ? previous : list.Item(1));
  }
}

bool MidiImporter::HasStaff(std::size_t track) const {
  return track > 0 || (!m_summaries.empty() && m_summaries[0].HasNotes);
}

int MidiImporter::MeasureLengthAt(int time) const {
  // The length of the last time signature at or before time; 4/4 before the first.
  const GlobalEvents& g = m_score.AllGlobals();
  const int found = SignaturesUpTo(g, time);
  if (found == 0) return 64;
  const auto e = g.TimeItem(found);
  return MeasureLengthOf(e->Value1(), e->Value2());
}

// The end of the measure that holds time: a measure length after its bar, or the next
// time signature when one comes first.
int MidiImporter::MeasureEndAfter(int time) const {
  const GlobalEvents& g = m_score.AllGlobals();
  int number = 0, length = 64;
  g.MeasureInfo(time, number, length);
  std::int64_t end = static_cast<std::int64_t>(g.MeasureStart(time)) + std::max(1, length);
  const int next = SignaturesUpTo(g, time) + 1;
  if (next <= g.TimeItemCount()) end = std::min<std::int64_t>(end, g.TimeItem(next)->EventTime());
  return static_cast<int>(std::min<std::int64_t>(end, INT_MAX));
}

int MidiImporter::SnapToMeasure(const TrackState& t, int time) {
  const std::int64_t from = t.SigPosition;
  return static_cast<int>(from + FloorDiv(time - from, t.SnapLength) * t.SnapLength);
}

void MidiImporter::ReadTrack(std::size_t index) {
  Score& s = m_score;
  const Internal key;
  TrackState t;
  t.Index = index;
  t.Sounding.fill(-1);
  if (HasStaff(index)) {
    t.Staff = s.m_staffs->AddStaff(key, s.m_staffs->NewID(), "", std::nullopt, true);
    if (t.Staff) {
      t.Voice = t.Staff->AddVoice(m_instruments[index]);
      t.Notes.reserve(m_summaries[index].NoteOns);
      t.Staff->GlobalEvents().Add(0, evtKeyChange, static_cast<std::uint8_t>(KeyToByte(s.m_key)),
                                  s.m_minor ? 255 : 0);
    }
  }

  const int division = m_reader.FileHeader().Division;
  auto cursor = m_reader.Events(m_reader.Tracks()[index]);
  SmfEvent e;
  int count = 0;
  int time = 0;
  while (cursor.Next(e)) {
    if (++count % kProgressEvery == 0) {
      const int position = static_cast<int>(e.Position);
      s.Raise([position](ScoreEvents& l) { l.ProgressReport(position); });
    }
    const std::int64_t t64 = ScoreTime(e.Tick, division);
    // Past the limit only note endings count (clipped to the limit).
    const bool beyond = t64 >= kTimeLimit;
    time = static_cast<int>(std::min(t64, kTimeLimit));
    if (!beyond) s.m_endTime = std::max(s.m_endTime, time);
    if (e.Type == SmfEvent::Kind::Channel) {
      if (HasStaff(index)) OnChannelEvent(t, e, time);
    } else if (e.Type == SmfEvent::Kind::Meta && !beyond) {
      OnMeta(t, e, time);
    }
  }
  // Notes still sounding end with the track.
  for (int pitch = 0; pitch < 128; ++pitch)
    if (t.Sounding[static_cast<std::size_t>(pitch)] >= 0) CloseNote(t, pitch, time);
  BuildVoice(t);
  if (t.Staff && t.HasLyrics) t.Staff->SetVerses(key, std::max(t.Staff->Verses(), 1));
}

void MidiImporter::OnChannelEvent(TrackState& t, const SmfEvent& e, int time) {
  const auto pitch = static_cast<std::size_t>(e.Data1);
  switch (e.Command()) {
    case 0x90:
      if (e.Data2 > 0) {
        if (time >= kTimeLimit) return;
        // A pitch struck again while it sounds ends the note that sounds.
        if (t.Sounding[pitch] >= 0) CloseNote(t, e.Data1, time);
        t.Sounding[pitch] = static_cast<int>(t.Notes.size());
        t.Notes.push_back(Sounded{time, time, e.Data1});
        return;
      }
      [[fallthrough]];  // velocity 0 is a note-off
    case 0x80:
      if (t.Sounding[pitch] >= 0) CloseNote(t, e.Data1, time);
      return;
    default:
      return;  // programs are taken by MakeInstruments; controllers are not kept
  }
}

void MidiImporter::CloseNote(TrackState& t, int pitch, int endTime) {
  auto& sounding = t.Sounding[static_cast<std::size_t>(pitch)];
  t.Notes[static_cast<std::size_t>(sounding)].End = endTime;
  sounding = -1;
}

void MidiImporter::BuildVoice(TrackState& t) {
  if (!t.Voice) return;
  ChooseClef(t);
  const std::vector<Sounded> played = std::move(t.Notes);
  const bool drums = m_summaries[t.Index].Drums;
  std::size_t starts = 0;
  for (std::size_t i = 0; i < played.size(); ++i)
    if (i == 0 || played[i].Start != played[i - 1].Start) ++starts;
  t.Voice->Notes().Reserve(Internal{}, starts);  // one chord a start, and a few held bars
  ChordLayer layer(t.Voice->Notes());
  // A note longer than its measure, cut into pieces of a measure each: the pieces after the
  // first wait here, earliest first, so that merged with the notes in start order everything
  // reaches the voice in time order.
  struct Piece {
    int Time = 0;
    int Pitch = 0;
    std::int64_t Left = 0;  // of the note, from this piece on
    int Number = 0;         // of the note's pieces, from 0
    int After = -1;         // time of the chord that holds the piece before
    bool operator>(const Piece& o) const { return Time > o.Time; }
  };
  std::priority_queue<Piece, std::vector<Piece>, std::greater<>> held;
  auto lay = [&](const Piece& piece) {
    const int length = MeasureLengthAt(piece.Time);
    layer.Lay(piece.Time, static_cast<int>(std::min<std::int64_t>(piece.Left, length)),
              piece.Pitch);
    const std::int64_t next = static_cast<std::int64_t>(piece.Time) + length;
    if (piece.Left > length && next < kTimeLimit && piece.Number + 1 < kMaxBarsPerNote &&
        m_extraPieces < kMaxSplitNotes) {
      ++m_extraPieces;
      held.push(Piece{static_cast<int>(next), piece.Pitch, piece.Left - length, piece.Number + 1,
                      piece.Time});
    }
  };
  std::vector<std::pair<int, int>> ties;  // (from, to): the chords a tie joins
  std::vector<Piece> fresh, pieces;
  std::size_t i = 0;
  while (i < played.size() || !held.empty()) {
    int time = i < played.size() ? played[i].Start : INT_MAX;
    if (!held.empty()) time = std::min(time, held.top().Time);
    fresh.clear();
    pieces.clear();
    for (; i < played.size() && played[i].Start == time; ++i) {
      const Sounded& note = played[i];
      if (drums) {
        layer.Lay(time, DrumHitLength(note), note.Pitch);
      } else {
        // A note shorter than a 64th still gets one.
        fresh.push_back(
            Piece{time, note.Pitch,
                  std::max<std::int64_t>(1, static_cast<std::int64_t>(note.End) - time)});
      }
    }
    while (!held.empty() && held.top().Time == time) {
      pieces.push_back(held.top());
      held.pop();
    }
    // The pieces of held notes are tied to the chord before, which holds their previous
    // piece, so that the note sounds once. A tie joins every pitch the two chords share:
    // when a note struck here has the pitch of one in the chord before, the tie would hold
    // that note over instead, and the held notes end here. So do notes that a chord
    // between cut short (a voice holds one chord at a time), and notes past the last time
    // a tie can reach.
    const int before = layer.Time();
    const bool restruck = std::any_of(fresh.begin(), fresh.end(),
                                      [&](const Piece& f) { return layer.Holds(f.Pitch); });
    bool tied = false;
    for (const Piece& f : fresh) lay(f);
    for (const Piece& piece : pieces) {
      if (restruck || piece.After != before || time > kMaxTieEnd) continue;
      lay(piece);
      tied = true;
    }
    if (tied) ties.emplace_back(before, time);
  }
  layer.Finish();
  GlobalEvents& events = t.Staff->GlobalEvents();
  for (const auto& [from, to] : ties)
    events.Add(from, evtTie, static_cast<std::uint8_t>(to / 256),
               static_cast<std::uint8_t>(to % 256), "1");
}

int MidiImporter::DrumHitLength(const Sounded& hit) const {
  const std::int64_t room = static_cast<std::int64_t>(MeasureEndAfter(hit.Start)) - hit.Start;
  return static_cast<int>(std::clamp<std::int64_t>(room, 1, kMaxDrumHit));
}

// Written music keeps to a few ledger lines: a part mostly below middle C reads in the bass
// clef. The clef an instrument is written in by its own nature (a grand staff, the alto or
// tenor clef, the drums' percussion clef) stays.
void MidiImporter::ChooseClef(TrackState& t) const {
  if (t.ClefCue || !t.Staff) return;
  if (m_summaries[t.Index].Drums) {
    t.Staff->SetDefaultClef(clfPercussion);
    return;
  }
  const int clef = t.Staff->DefaultClef();
  if (clef != clfTreble && clef != clfBass) return;
  if (t.Notes.empty()) return;
  constexpr int kMiddleC = 60;
  const auto low = std::count_if(t.Notes.begin(), t.Notes.end(),
                                 [](const Sounded& n) { return n.Pitch < kMiddleC; });
  t.Staff->SetDefaultClef(2 * static_cast<std::size_t>(low) > t.Notes.size() ? clfBass : clfTreble);
}

void MidiImporter::OnScoreText(int type, const std::string& text) {
  Score& s = m_score;
  const Internal key;
  const bool withFont = text.find('|') != std::string::npos;
  if (type == 0x01) {
    std::string* fields[] = {&s.m_title, &s.m_subTitle, &s.m_composer, &s.m_arrangedBy};
    constexpr int fonts[] = {fntTitle, fntSubTitle, fntComposer};
    int slot = -1;
    if (withFont) {
      slot = m_titleFontTexts++;
    } else {
      for (int i = 0; i < 4 && slot < 0; ++i)
        if (!m_titleTaken[static_cast<std::size_t>(i)] && fields[i]->empty()) slot = i;
    }
    if (slot < 0 || slot > 3 || m_titleTaken[static_cast<std::size_t>(slot)]) return;
    m_titleTaken[static_cast<std::size_t>(slot)] = true;
    *fields[slot] = BeforeBar(text);
    if (slot < 3) s.SplitImportText(key, fonts[slot], text);
  } else {  // 0x02, copyright
    int slot = -1;
    if (withFont) {
      slot = m_copyrightFontTexts++;
    } else {
      for (int i = 0; i < 2 && slot < 0; ++i)
        if (!m_copyrightTaken[static_cast<std::size_t>(i)] &&
            s.m_copyright[static_cast<std::size_t>(i)].empty())
          slot = i;
    }
    if (slot < 0 || slot > 1 || m_copyrightTaken[static_cast<std::size_t>(slot)]) return;
    m_copyrightTaken[static_cast<std::size_t>(slot)] = true;
    s.m_copyright[static_cast<std::size_t>(slot)] = BeforeBar(text);
    if (slot == 0) s.SplitImportText(key, fntCopyright, text);
  }
}

void MidiImporter::OnMeta(TrackState& t, const SmfEvent& e, int time) {
  Score& s = m_score;
  const Internal key;
  const bool later = t.Index > 0;
  const auto& data = e.Data;
  switch (e.MetaType) {
    case 0x01:  // text
    case 0x02:  // copyright
      OnScoreText(e.MetaType, TextOf(data));
      return;
    case 0x03:  // track name
    case 0x04:  // instrument name
      if (!later) {
        if (e.MetaType == 0x04) {
          const std::string text = TextOf(data);
          s.m_heading = BeforeBar(text);
          s.SplitImportText(key, fntHeader, text);
        }
        if (e.MetaType == 0x04 || !t.Staff) return;  // a first track with music is named
      }
      // The track name names the staff; an instrument name only when there is none.
      if (e.MetaType == 0x04 && t.Named) return;
      t.Named = t.Named || e.MetaType == 0x03;
      if (t.Staff) t.Staff->SetDescription(TextOf(data));
      if (t.Voice) t.Voice->SetDescription(TextOf(data));
      return;
    case 0x05: {  // lyric: line breaks kept as the score's verse and line marks
      std::string text = TextOf(data);
      for (char& c : text) {
        if (c == '\r') c = '}';
        if (c == '\n') c = '~';
      }
      if (t.Staff) {
        t.Staff->GlobalEvents().Add(time, evtLyric, 0, 0, text);
        t.HasLyrics = true;
      } else if (!later) {
        // Songs often keep their words beside the tempo: they are sung to the first part.
        m_firstTrackLyrics.emplace_back(time, std::move(text));
      }
      return;
    }
    case 0x06: {  // marker: "%" and three flag characters
      if (!t.Staff || data.size() < 4 || data[0] != '%') return;
      GlobalEvents& g = *s.m_globals;
      auto addOnce = [&](int type) {
        if (!g.Find(time, type, true)) g.Add(time, type);
      };
      if (data[1] & 1) addOnce(evtRepeatBegin);
      switch (data[2] & 3) {
        case 1: addOnce(evtRepeatEnd); break;
        case 2: addOnce(evtSectionEnd); break;
        case 3: addOnce(evtScoreEnd); break;
        default: break;
      }
      int clef = -1;
      switch (data[3] & 14) {
        case 0: break;
        case 4: clef = clfBass; break;
        case 8: clef = clfTenor; break;
        case 10: clef = clfPercussion; break;
        default: clef = clfTreble; break;
      }
      if (clef >= 0 && t.Staff->CurClef(time) != clef)
        t.Staff->GlobalEvents().Add(time, evtClefChange, static_cast<std::uint8_t>(clef));
      return;
    }
    case 0x07: {  // cue: "&" layout numbers, "%" a staff's clef
      const std::string text = TextOf(data);
      if (text.empty()) return;
      if (text[0] == '&') {
        auto field = [&](int n, float fallback) {
          const double v = CueField(text, n);
          return v == 0 ? fallback : static_cast<float>(v);
        };
        s.SetStaffHeight(field(1, 0.5f));
        s.SetStaffSpace(field(2, 0.5f));
        s.SetSystemSpace(field(3, 0.75f));
      } else if (text[0] == '%' && t.Staff) {
        // Any number out of the table's reach reads as the treble clef.
        const double code = std::clamp(CueField(text, 1), -1.0, 99.0);
        t.Staff->SetDefaultClef(ClefOfCue(static_cast<int>(code)));
        t.ClefCue = true;
      }
      return;
    }
    case 0x51: {  // tempo: microseconds per quarter note
      if (data.size() < 3) return;
      const std::uint32_t us = static_cast<std::uint32_t>(data[0]) << 16 | data[1] << 8 | data[2];
      if (us == 0) return;
      // The score has one tempo: the one in force at the start. Later changes are passed
      // over (the earliest tempo event wins; at one time, the last read).
      if (m_tempoTime && time > *m_tempoTime) return;
      m_tempoTime = time;
      // A score's tempo goes up to 255: a faster piece plays at that rather than at 120.
      s.SetCount(static_cast<int>(std::min<std::uint32_t>(60000000u / us, kMaxTempo)));
      return;
    }
    case 0x58: {  // time signature: nn dd cc bb
      if (data.size() < 2) return;
      const int beats = data[0];
      int beat = 16;
      switch (data[1]) {
        case 1: beat = 32; break;
        case 3: beat = 8; break;
        case 4: beat = 4; break;
        case 5: beat = 2; break;
        default: break;
      }
      const int at = SnapToMeasure(t, time);
      int value1 = beats, value2 = beat;
      std::int64_t length = static_cast<std::int64_t>(beats) * beat;
      if (beats == 0) {
        // Numerator 0 stood for the symbols: over a quarter common time, else cut time.
        value2 = data[1] == 2 ? 0 : beat;
        length = value2 == 0 ? 64 : 32;
      }
      GlobalEvents& g = *s.m_globals;
      if (auto same = g.Find(at, evtTimeChange, true)) {
        same->SetValue1(value1);
        same->SetValue2(value2);
      } else {
        g.Add(at, evtTimeChange, static_cast<std::uint8_t>(value1),
              static_cast<std::uint8_t>(value2));
      }
      t.SigPosition = at;
      t.SnapLength = length;
      return;
    }
    case 0x59: {  // key signature: sf mi
      if (data.size() < 2) return;
      if (!m_keySeen) {
        m_keySeen = true;
        s.m_key = std::clamp(KeyFromByte(data[0]), -7, 7);
        s.m_minor = data[1] == 1;
      }
      if (!t.Staff) return;
      const int at = SnapToMeasure(t, time);
      GlobalEvents& list = t.Staff->GlobalEvents();
      if (auto same = list.Find(at, evtKeyChange, true)) {
        same->SetValue1(data[0]);
        same->SetValue2(data[1]);
      } else {
        list.Add(at, evtKeyChange, data[0], data[1]);
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace notecraft
