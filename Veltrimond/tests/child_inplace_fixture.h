#pragma once
// A score window on the offscreen platform for the tests of typing and picking on the page
// (lyrics, text labels, chord symbols) and of the window's keys, handles and drum panel:
// background pagination ticked by hand, a recording frame, and page points found on the
// score as it is laid out. New scores take Defaults' staff height; InPlaceSizeTest runs a
// test at that height and at a larger one.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPoint>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/shell/appcontext.h"
#include "fakeframe.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/timer.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/scorepagewidget.h"
#include "settings_fixture.h"

namespace veltrimond::testing {

constexpr int kTpp = 15;

class InPlaceTest : public SettingsFixture {
protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    static const bool fontLoaded = notecraft::LoadMusicFont();
    (void)fontLoaded;
    // Background pagination ticks when a test says so.
    notecraft::SetTimerFactory(&Timers);
    // A new score takes its staff height from the defaults.
    if (const auto height = StaffHeight()) Context.State.Options.StaffHeight = *height;
    window = std::make_unique<chdVLTMain>(Context, Frame);
    window->SetTag(QStringLiteral("T1"));
    window->resize(1000, 800);
    window->show();
    QCoreApplication::processEvents();
    window->activateWindow();
    window->pctScore->setFocus();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    window.reset();
    notecraft::SetTimerFactory(nullptr);
    SettingsFixture::TearDown();
  }

  // The staff height new scores get (inches); unset, Defaults' own.
  virtual std::optional<double> StaffHeight() const { return std::nullopt; }

  notecraft::Score& S() { return window->Score(); }
  std::shared_ptr<notecraft::Voice> Voice1() { return S().Staff(1)->Voice(1); }

  // A point (page pixels) on staff 1 near x (twips) where the score reads pitch.
  QPoint PitchPoint(int x, int pitch) {
    for (int px = x / kTpp; px < x / kTpp + 200; ++px)
      for (int py = 0; py < S().PageHeightTwips() / kTpp / 2; ++py)
        if (S().GetNoteValueByHit(px * kTpp, py * kTpp) == pitch) return {px, py};
    return {-1, -1};
  }

  // Sends a key to the widget with the focus, as typing does.
  static void Type(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_TRUE(target);
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    (void)text;
  }
  static void TypeText(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_TRUE(target);
    QTest::keyClicks(target, text);
  }

  // Lays the score out again and paints its first page.
  void Relayout() {
    S().RestartPagination(1);
    S().PaintWindow();
    Paginate(S());
  }
  void Paginate(notecraft::Score& score) {
    while (score.Paginating()) Timers.Advance(200);
  }

  // The score saved as name and opened in a window of its own, shown and laid out; null
  // when either step fails.
  std::unique_ptr<chdVLTMain> SavedAndReopened(const QString& name) {
    const QString path = Saved.filePath(name);
    if (!S().SaveFile(path.toStdString())) return nullptr;
    auto reopened = std::make_unique<chdVLTMain>(Context, Frame);
    reopened->resize(1000, 800);
    if (!reopened->OpenFile(path)) return nullptr;
    reopened->show();
    QCoreApplication::processEvents();
    Paginate(reopened->Score());
    return reopened;
  }

  int CountEvents(const notecraft::GlobalEvents& list, int type) {
    int n = 0;
    for (const auto& e : list)
      if (e->EventType() == type) ++n;
    return n;
  }

  // A point (page pixels) on the row of at, in the measure that holds time, where an event
  // placed there would stand at another time; (-1, -1) when the measure has none.
  QPoint ElsewhereInMeasure(QPoint at, int time) {
    const int start = S().AllGlobals().MeasureStart(time);
    for (int dx = 4; dx < 400; ++dx) {
      for (const int side : {1, -1}) {
        const QPoint p = at + QPoint(side * dx, 0);
        const int t = S().TimeByHit(p.x() * kTpp, p.y() * kTpp);
        if (t >= 0 && t != time && S().AllGlobals().MeasureStart(t) == start) return p;
      }
    }
    return {-1, -1};
  }

  notecraft::ManualTimerFactory Timers;
  QTemporaryDir Saved;
  AppContext Context;
  FakeFrame Frame;
  std::unique_ptr<chdVLTMain> window;
};

// Typing and picking on the page at the staff height Defaults give every new score
// (0.28 in, 7.1 mm) and at 0.4 in: page points are found on the score as laid out, so a
// point between two staves or off a measure at one size shows as such.
class InPlaceSizeTest : public InPlaceTest, public ::testing::WithParamInterface<double> {
protected:
  std::optional<double> StaffHeight() const override { return GetParam(); }
};

inline std::string StaffHeightName(const ::testing::TestParamInfo<double>& info) {
  return info.param == OptionSettings{}.StaffHeight ? "DefaultStaves" : "TallStaves";
}

// Quarter notes (G) filling measures on staff 1.
inline void AddQuarterNotes(notecraft::Score& score, int measures) {
  auto voice = score.Staff(1)->Voice(1);
  for (int t = 0; t < measures * 64; t += 16) voice->Notes().Add(t, 67, 16, 0);
}

}  // namespace veltrimond::testing
