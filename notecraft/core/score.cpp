#include "notecraft/core/score.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/platform.h"

#ifdef NOTECRAFT_HAS_CHORD
#include "harmonygrid/core/chord.h"
#endif

namespace notecraft {

namespace {

// A new score's first line: empty measures to write in.
constexpr int kNewScoreMeasures = 4;

// Inches to twips, rounded half to even; nothing when the result does not fit 32 bits.
std::optional<int> ToTwips(float inches) {
  if (!std::isfinite(inches)) return std::nullopt;
  const double twips = static_cast<double>(inches) * 1440.0;
  if (twips > std::numeric_limits<int>::max() || twips < std::numeric_limits<int>::min())
    return std::nullopt;
  return static_cast<int>(RoundHalfEven(twips));
}

struct Paper {
  int size;
  int heightTw, widthTw;
};
// Portrait paper in twips; A4 and A5 are their millimetre sizes rounded to whole twips.
constexpr Paper kPapers[] = {
    {pgsLeter, 15840, 12240}, {pgsLegal, 20160, 12240}, {pgsExecutive, 15120, 10440},
    {pgsA4, 16834, 11909},    {pgsA5, 11909, 8395},
};

std::shared_ptr<FontSpec> MakeFont(const char* name, float size, bool bold, bool italic) {
  auto f = std::make_shared<FontSpec>();
  f->Name = name;
  f->Size = size;
  f->Bold = bold;
  f->Italic = italic;
  return f;
}

}  // namespace

Score::Score() {
  const Internal key;
  // Process-wide state first: twips per pixel from the host, separators, colours.
  Common& common = TheCommon();
  common.TwipsPerPixelX = std::max(1, CurrentPlatform().TwipsPerPixelX());
  common.TwipsPerPixelY = std::max(1, CurrentPlatform().TwipsPerPixelY());
  m_twipsPerPixelX = common.TwipsPerPixelX;
  m_twipsPerPixelY = common.TwipsPerPixelY;
  common.LineEnd = "\r";
  common.FieldSep = std::string(1, '\xFE');
  common.RecordEnd = std::string(1, '\xFF');
  common.Terminator = std::string(1, '\0');

#ifdef NOTECRAFT_HAS_CHORD
  m_chord = std::make_shared<harmonygrid::Chord>();
  m_chord->SetInitDir((CurrentPlatform().DataRoot() / "Common" / "Config").string());
  m_chord->Refresh();
#endif

  common.Instruments.Load(InstrumentFile());

  m_initialising = true;
  common.ColorBars = RGB(48, 48, 192);
  common.ColorNotes = RGB(18, 152, 18);
  common.ColorLight = RGB(22, 182, 22);
  common.ColorLines = 0;
  common.ColorChords = RGB(100, 20, 60);
  common.ColorTies = RGB(240, 0, 0);

  m_fonts[fntTitle] = MakeFont("Arial", 14, true, false);
  m_fonts[fntSubTitle] = MakeFont("Arial", 12, true, false);
  m_fonts[fntHeader] = MakeFont("Arial", 10, true, false);
  m_fonts[fntComposer] = MakeFont("Arial", 10, true, false);
  m_fonts[fntCopyright] = MakeFont("Arial", 8, false, false);
  m_fonts[kMusicFont] = MakeFont("Veltrimond", 8.25f, false, false);
  m_fonts[kExpressionFont] = MakeFont("Verdana", 8.25f, true, true);

  m_globals = std::make_unique<GlobalEvents>();
  m_globals->SetParent(key, this);
  m_instruments = std::make_unique<Instruments>();
  m_instruments->SetParent(key, this);
  m_voices = std::make_unique<Voices>();
  m_voices->SetParent(key, this);
  m_staffs = std::make_unique<notecraft::Staffs>();
  m_staffs->SetParent(key, this);

  SetPageWidth(8.5f);
  SetPageHeight(11.0f);
  SetMargins(marTop, 1.0f);
  SetMargins(marBottom, 0.5f);
  SetMargins(marLeft, 0.75f);
  SetMargins(marRight, 0.5f);
  SetStaffHeight(0.4f);
  SetStaffSpace(0.5f);
  SetSystemSpace(0.65f);

  m_redraw = true;
  m_changed = false;
  m_playbackStale = true;
  m_initialising = false;
}

Score::~Score() {
  // Children hold a back pointer to their score: empty every collection (which clears the
  // pointers of everything a host may still hold) before the collections go.
  m_chord.reset();
  ClearCollections();
  const Internal key;
  m_staffs->SetParent(key, nullptr);
  m_voices->SetParent(key, nullptr);
  m_instruments->SetParent(key, nullptr);
  m_globals->SetParent(key, nullptr);
}

void Score::ClearCollections() {
  m_staffs->ResetStaffs(Internal{});
  m_voices->Clear();
  m_instruments->Clear();
  m_globals->Clear();
  m_roomEnd = 0;
}

void Score::AddListener(ScoreEvents* listener) {
  if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
    m_listeners.push_back(listener);
}

void Score::RemoveListener(ScoreEvents* listener) {
  if (!listener) return;
  if (m_raiseDepth > 0) {
    std::replace(m_listeners.begin(), m_listeners.end(), listener,
                 static_cast<ScoreEvents*>(nullptr));
    return;
  }
  m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener),
                    m_listeners.end());
}

void Score::CompactListeners() {
  m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), nullptr),
                    m_listeners.end());
}

void Score::CreateDefault() {
  const Internal key;
  m_initialising = true;
  const bool redraw = m_redraw;
  m_redraw = false;

  EndPlayback(key);
  ClearUndo(key);
  ClearCollections();
  m_filePath.clear();

  m_globals->Add(0, evtTimeChange, 0, 0);  // common time
  m_staffs->AddStaff(key, m_staffs->NewID(), "New");
  SetEmptyMeasures(key, kNewScoreMeasures);

  m_curPage = 1;
  m_lastPage = 1;
  m_curTime = 0;
  // The empty measures are the score's to show: laid out again at the next paint.
  m_endTime = ScoreEndTime();
  RestartPagination(1);
  m_pageTimes.assign(1, Range{});
  m_pageLayouts.assign(1, Range{});

  m_title = "New Score";
  m_subTitle.clear();
  m_heading.clear();
  m_composer = "Composer";
  m_arrangedBy = "Arranged By";
  m_beat = durQuarter;
  m_count = 120;
  m_metronome = true;

  SetChanged(false);
  m_verse = 1;
  m_activeVoice = 1;
  Raise([](ScoreEvents& l) { l.ActiveVoice(1); });
  if (auto first = Staff(1)) {
    first->SetSelected(true);
    Raise([&](ScoreEvents& l) { l.ActiveStaff(first); });
  }
  PaintWindow();

  m_redraw = redraw;
  m_playbackStale = true;
  m_initialising = false;
}

// --- Texts ---

void Score::SetText(std::string& field, const std::string& text, bool relayout) {
  if (field == text) return;
  field = text;
  MarkChanged();
  if (relayout) Relayout();
}

void Score::SetTitle(const std::string& text) { SetText(m_title, text, true); }
void Score::SetSubTitle(const std::string& text) { SetText(m_subTitle, text, true); }
void Score::SetHeading(const std::string& text) { SetText(m_heading, text, false); }
void Score::SetComposer(const std::string& text) { SetText(m_composer, text, true); }
void Score::SetArrangedBy(const std::string& text) { SetText(m_arrangedBy, text, true); }

const std::string& Score::Copyright(int index) const { return m_copyright[index <= 0 ? 0 : 1]; }

void Score::SetCopyright(int index, const std::string& text) {
  SetText(m_copyright[index <= 0 ? 0 : 1], text, true);
}

// --- Tempo and key ---

void Score::SetBeat(int beat) {
  const bool differs = beat != m_beat;
  m_beat = (beat == 8 || beat == 16 || beat == 32 || beat == 64) ? beat : 16;
  if (differs) MarkChanged();
}

void Score::SetCount(int tempo) {
  LayoutInputsChanged();  // shown on the page, which keeps no mark of it
  if (tempo >= 0 && tempo <= 255) m_count = tempo;
}

void Score::SetMetronome(bool on) {
  if (on == m_metronome) return;
  m_metronome = on;
  MarkChanged();
}

// The score's key lives in the key event at time 0 of the score-wide list as well.
void Score::WriteKeyThrough() {
  auto e = m_globals->Find(0, evtKeyChange, true);
  if (!e) e = m_globals->Add(0, evtKeyChange);
  e->SetValue1(KeyToByte(m_key));
  e->SetValue2(m_minor ? 255 : 0);
}

void Score::ScoreEventsCleared(Internal) {
  if (m_key != 0 || m_minor) WriteKeyThrough();  // no event reads as C major
}

void Score::SetKey(int key) {
  key = std::clamp(key, -7, 7);
  if (key == m_key) return;
  m_key = key;
  WriteKeyThrough();
  for (const auto& staff : *m_staffs) staff->GlobalEvents().Remove(0, evtKeyChange);
  MarkChanged();
  PaintWindow();
}

void Score::SetMinor(bool minor) {
  if (minor == m_minor) return;
  m_minor = minor;
  WriteKeyThrough();
  MarkChanged();
}

// --- Chords ---

void Score::SetCapo(int capo) {
  LayoutInputsChanged();  // shown on the page, which keeps no mark of it
  if (capo >= 0 && capo <= 15) m_capo = capo;
}

void Score::SetUseCapo(bool on) {
  if (on == m_useCapo) return;
  m_useCapo = on;
  if (on) {
    m_useChords = true;
    if (m_capo == 0) m_capo = 1;
  }
  MarkChanged();
  PaintWindow();
}

void Score::SetUseChords(bool on) {
  if (on == m_useChords) return;
  m_useChords = on;
  if (!on) {
    m_useChordMaps = false;
    m_useCapo = false;
  }
  MarkChanged();
  PaintWindow();
}

void Score::SetUseChordMaps(bool on) {
  if (on == m_useChordMaps) return;
  m_useChordMaps = on;
  if (on) m_useChords = true;
  MarkChanged();
  PaintWindow();
}

std::vector<std::pair<std::string, int>> Score::LoadChordList() const {
  std::vector<std::pair<std::string, int>> list;
#ifdef NOTECRAFT_HAS_CHORD
  if (m_chord) {
    for (int i = 0; i < m_chord->ListCount(); ++i)
      list.emplace_back(m_chord->ListItem(i), m_chord->ListVal(i));
  }
#endif
  return list;
}

// --- Display switches ---

void Score::SetDrumIX(int slot) {
  LayoutInputsChanged();  // shown on the page, which keeps no mark of it
  if (slot >= 1 && slot <= 8) m_drumIX = slot - 1;
}

void Score::SetNumberMeasures(bool on) {
  if (on == m_numberMeasures) return;
  m_numberMeasures = on;
  if (on) m_numberMeasuresBy = 1;
  MarkChanged();
  PaintWindow();
}

void Score::SetNumberMeasuresBy(int every) {
  if (!m_numberMeasures || every == m_numberMeasuresBy) return;
  m_numberMeasuresBy = every;
  MarkChanged();
  PaintWindow();
}

void Score::SetNumberPos(int pos) {
  if (pos == m_numberPos) return;
  m_numberPos = pos;
  MarkChanged();
  if (m_numberMeasures) PaintWindow();
}

void Score::SetPageNums(int kind) {
  if (kind == m_pageNums) return;
  m_pageNums = kind;
  MarkChanged();
  PaintWindow();
}

void Score::SetReverseEvenOdd(bool on) {
  if (on == m_reverseEvenOdd) return;
  m_reverseEvenOdd = on;
  MarkChanged();
}

// --- Page ---

void Score::SetPageOrientation(int orientation) {
  if (orientation == m_orientation) return;
  m_orientation = orientation;
  MarkChanged();
  FitWindowToPage();
  PaintWindow();
}

void Score::SetPaperDimensions(int heightTwips, int widthTwips) {
  m_paperHeightTw = heightTwips;
  m_paperWidthTw = widthTwips;
  m_paperHeight = static_cast<float>(heightTwips / 1440.0);
  m_paperWidth = static_cast<float>(widthTwips / 1440.0);
}

void Score::SetPageSize(int size) {
  if (size == m_pageSize) return;
  MarkChanged();
  m_pageSize = size;
  for (const auto& paper : kPapers) {
    if (paper.size == size) SetPaperDimensions(paper.heightTw, paper.widthTw);
  }
  FitWindowToPage();
  PaintWindow();
}

void Score::RecomputePageSize() {
  int size = pgsCustom;
  for (const auto& paper : kPapers) {
    if (paper.heightTw == m_paperHeightTw && paper.widthTw == m_paperWidthTw) size = paper.size;
  }
  m_pageSize = size;
}

float Score::PageHeight() const {
  return m_orientation == pgeLandscape ? m_paperWidth : m_paperHeight;
}

float Score::PageWidth() const {
  return m_orientation == pgeLandscape ? m_paperHeight : m_paperWidth;
}

int Score::PageHeightTwips() const {
  return m_orientation == pgeLandscape ? m_paperWidthTw : m_paperHeightTw;
}

int Score::PageWidthTwips() const {
  return m_orientation == pgeLandscape ? m_paperHeightTw : m_paperWidthTw;
}

void Score::SetPageHeight(float inches) {
  auto twips = ToTwips(inches);
  if (!twips || *twips <= 0) return;
  const bool landscape = m_orientation == pgeLandscape;
  float& stored = landscape ? m_paperWidth : m_paperHeight;
  if (stored == inches) return;
  stored = inches;
  (landscape ? m_paperWidthTw : m_paperHeightTw) = *twips;
  MarkChanged();
  RecomputePageSize();
  FitWindowToPage();
  PaintWindow();
}

void Score::SetPageWidth(float inches) {
  auto twips = ToTwips(inches);
  if (!twips || *twips <= 0) return;
  const bool landscape = m_orientation == pgeLandscape;
  float& stored = landscape ? m_paperHeight : m_paperWidth;
  if (stored == inches) return;
  stored = inches;
  (landscape ? m_paperHeightTw : m_paperWidthTw) = *twips;
  MarkChanged();
  RecomputePageSize();
  FitWindowToPage();
  PaintWindow();
}

float Score::Margins(int margin) const {
  return margin >= 0 && margin <= 3 ? m_margins[static_cast<std::size_t>(margin)] : 0.0f;
}

int Score::MarginTwips(int margin) const {
  return margin >= 0 && margin <= 3 ? m_marginsTw[static_cast<std::size_t>(margin)] : 0;
}

void Score::SetMargins(int margin, float inches) {
  if (margin < 0 || margin > 3) return;
  auto twips = ToTwips(inches);
  if (!twips || *twips < 0) return;
  const auto i = static_cast<std::size_t>(margin);
  if (m_margins[i] == inches) return;
  m_margins[i] = inches;
  m_marginsTw[i] = *twips;
  MarkChanged();
  PaintWindow();
}

void Score::SetStaffHeight(float inches) {
  auto twips = ToTwips(inches);
  if (!twips || *twips <= 0 || inches == m_staffHeight) return;
  m_staffHeight = inches;
  m_staffHeightTw = *twips;
  m_staffHeightClass = *twips >= 576 ? std::pair{4, 105} : std::pair{3, 90};
  MarkChanged();
  PaintWindow();
}

void Score::SetStaffSpace(float inches) {
  auto twips = ToTwips(inches);
  if (!twips || *twips < 0 || inches == m_staffSpace) return;
  m_staffSpace = inches;
  m_staffSpaceTw = *twips;
  MarkChanged();
  PaintWindow();
}

void Score::SetSystemSpace(float inches) {
  auto twips = ToTwips(inches);
  if (!twips || *twips < 0 || inches == m_systemSpace) return;
  m_systemSpace = inches;
  m_systemSpaceTw = *twips;
  MarkChanged();
  PaintWindow();
}

// --- Fonts, unit ---

std::shared_ptr<FontSpec> Score::Fonts(int index) const {
  if (index < 0 || index >= kFontCount) return nullptr;
  return m_fonts[static_cast<std::size_t>(index)];
}

void Score::SetFonts(int index, std::shared_ptr<FontSpec> font) {
  if (index < 0 || index >= kFontCount || !font) return;
  m_fonts[static_cast<std::size_t>(index)] = std::move(font);
  MarkChanged();
}

int Score::UOM() const { return TheCommon().UOM; }
void Score::SetUOM(int unit) { TheCommon().UOM = unit; }

// --- Voice, pages ---

void Score::SetVoice(int number) {
  if (number < 1 || number > 4 || number == m_activeVoice) return;
  m_activeVoice = number;
  LayoutInputsChanged();
  PaintWindow();
}

void Score::SetCurPage(int page) {
  if (page >= 1 && page <= m_lastPage && page != m_curPage) {
    m_curPage = page;
    if (static_cast<std::size_t>(page) <= m_pageTimes.size())
      m_curTime = m_pageTimes[static_cast<std::size_t>(page - 1)].Low();
    PaintWindow();
  } else if (page == m_lastPage + 1 && page >= 1) {
    const Internal key;
    const int start = m_pageTimes.empty() ? 0 : m_pageTimes.back().High();
    m_pageTimes.resize(static_cast<std::size_t>(page));
    m_pageLayouts.resize(static_cast<std::size_t>(page));
    m_pageTimes.back().SetLow(key, start);
    m_curPage = page;
    m_curTime = start;
    PaintWindow();
  }
}

// --- Change state ---

void Score::SetChanged(bool changed) {
  // Marked changed also while initialising: pages laid out before are laid out again.
  if (changed) LayoutInputsChanged();
  const bool before = m_changed;
  if (!changed) {
    m_changed = false;
  } else if (!m_initialising) {
    m_changed = true;
    m_playbackStale = true;
  }
  if (m_changed != before) {
    const bool now = m_changed;
    Raise([now](ScoreEvents& l) { l.ChangeNotify(now); });
  }
}

// --- Queries ---

int Score::HighTime() const {
  int high = 0;
  for (const auto& voice : *m_voices) {
    const Notes& notes = voice->Notes();
    if (notes.Count() > 0) high = std::max(high, notes.ByIndex(notes.Count())->NoteTime());
  }
  return high;
}

int Score::MeasureFlags(int atTime) const {
  int flags = 0;
  for (const auto& e : m_globals->At(atTime)) {
    switch (e->EventType()) {
      case evtRepeatBegin: flags |= 1; break;
      case evtRepeatEnd: flags |= 2; break;
      case evtSectionEnd: flags |= 4; break;
      case evtScoreEnd: flags |= 8; break;
      case evtSectionDefine: flags |= e->Value1() * 16; break;
      default: break;
    }
  }
  return flags;
}

std::string Score::InsDesc(int insCode) const { return TheCommon().Instruments.InsDesc(insCode); }

bool Score::Initialising(Internal) const { return m_initialising; }
void Score::SetInitialising(Internal, bool on) { m_initialising = on; }
bool Score::PlaybackStale(Internal) const { return m_playbackStale; }
void Score::SetPlaybackStale(Internal, bool stale) {
  m_playbackStale = stale;
  if (stale) LayoutInputsChanged();  // the notes changed
}
void Score::SetEndTime(Internal, int time) { m_endTime = time; }
void Score::SetVerse(Internal, int verse) { m_verse = verse; }
void Score::SetLastPage(Internal, int page) { m_lastPage = page; }
std::vector<Range>& Score::MutablePageTimes(Internal) { return m_pageTimes; }
std::vector<Range>& Score::MutablePageLayouts(Internal) { return m_pageLayouts; }
const std::string& Score::FilePath(Internal) const { return m_filePath; }
void Score::SetFilePath(Internal, std::string path) { m_filePath = std::move(path); }
int Score::TwipsPerPixelX(Internal) const { return m_twipsPerPixelX; }
int Score::TwipsPerPixelY(Internal) const { return m_twipsPerPixelY; }

void Score::Relayout() {
  RestartPagination(1);
  PaintWindow();
}

}  // namespace notecraft
