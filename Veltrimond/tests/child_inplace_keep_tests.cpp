// Text typed into a box on the page and not yet stored (a syllable, a label) is stored
// before the window closes, saves, turns the page or runs another command of its toolbar
// or menus, as leaving the box stores it: the close prompt then asks about it, and nothing
// typed is lost or stored at a place the page no longer shows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_labels.h"
#include "Veltrimond/child/chdvltmain_lyrics.h"
#include "Veltrimond/child/chdvltmain_menus.h"
#include "Veltrimond/child/chdvltmain_toolbar.h"
#include "child_inplace_fixture.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "qstring_printer.h"

namespace veltrimond::testing {
namespace {

enum class Box { Lyric, Label };

std::string BoxName(const ::testing::TestParamInfo<Box>& info) {
  return info.param == Box::Lyric ? "Lyric" : "Label";
}

void PrintTo(Box box, std::ostream* os) {
  *os << (box == Box::Lyric ? "the lyric box" : "the label box");
}

// A score of many pages, unchanged, in a window at Defaults' staff height; the box of the
// test's parameter opens on page 1.
class TypedTextTest : public InPlaceTest, public ::testing::WithParamInterface<Box> {
protected:
  void SetUp() override {
    InPlaceTest::SetUp();
    AddQuarterNotes(S(), 64);
    S().Staff(1)->SetSelected(true);
    Relayout();
    ASSERT_GE(S().LastPage(), 2);
    S().SetChanged(false);
  }

  // Opens the box on page 1 and types text over what it holds, not yet stored.
  void TypeInto(const QString& text) {
    S().SetCurPage(1);
    if (GetParam() == Box::Lyric) {
      ASSERT_TRUE(window->Lyrics().Start());
      QTest::keyClicks(window->Lyrics().txtLyric, text);
    } else {
      window->SetTool(QStringLiteral("Text"));
      const QPoint at = PitchPoint(3000, 79);
      ASSERT_GE(at.x(), 0);
      m_labelTime = S().TimeByHit(at.x() * kTpp, at.y() * kTpp);
      QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
      ASSERT_TRUE(window->Labels().LabelActive());
      QTest::keyClicks(window->Labels().txtLabel, text);
    }
    ASSERT_TRUE(Open());
    ASSERT_NE(Stored(S()), text.toStdString());
  }
  bool Open() const {
    return GetParam() == Box::Lyric ? window->Lyrics().Active() : window->Labels().LabelActive();
  }
  QWidget* BoxWidget() const {
    return GetParam() == Box::Lyric ? static_cast<QWidget*>(window->Lyrics().txtLyric)
                                    : window->Labels().txtLabel;
  }
  // What score holds where the box was opened: the first note's syllable, or staff 1's label
  // at the time clicked.
  std::string Stored(notecraft::Score& score) const {
    const auto& events = score.Staff(1)->GlobalEvents();
    const auto event = GetParam() == Box::Lyric
                           ? events.Find(0, notecraft::evtLyric, true)
                           : events.Find(m_labelTime, notecraft::evtText, true);
    return event ? event->Text() : std::string();
  }

  int m_labelTime = -1;
};

INSTANTIATE_TEST_SUITE_P(Boxes, TypedTextTest, ::testing::Values(Box::Lyric, Box::Label), BoxName);

// The score was unchanged before the text was typed: the prompt is asked because of it.
TEST_P(TypedTextTest, ClosingTheWindowStoresTheTextAndCancelKeepsTheWindowAndTheText) {
  TypeInto(QStringLiteral("dolce"));
  QStringList asked;
  int answer = QMessageBox::Cancel;
  window->Prompts.AskSaveChanges = [&](const QString& title, const QString& text) {
    asked << title + QStringLiteral(": ") + text;
    return answer;
  };
  EXPECT_FALSE(window->close());
  EXPECT_EQ(asked, QStringList{QStringLiteral("Exit: Save changes to New Score?")});
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Stored(S()), "dolce");
  EXPECT_FALSE(Open());
  EXPECT_FALSE(BoxWidget()->isVisible());
  EXPECT_TRUE(S().Changed());

  answer = QMessageBox::No;
  EXPECT_TRUE(window->close());
  EXPECT_EQ(asked.size(), 2);
}

TEST_P(TypedTextTest, SavingStoresTheTextFirst) {
  const QString path = Saved.filePath(QStringLiteral("Typed.sco"));
  ASSERT_TRUE(S().SaveFile(path.toStdString()));
  window->SetUntitled(false);
  TypeInto(QStringLiteral("dolce"));
  window->Toolbar()->Button(QStringLiteral("Save"))->trigger();
  EXPECT_FALSE(Open());
  EXPECT_FALSE(S().Changed()) << "the text went into the file";

  notecraft::Score back;
  ASSERT_TRUE(back.OpenFile(path.toStdString()));
  EXPECT_EQ(Stored(back), "dolce");
}

// The toolbar's buttons and the menus take no focus from the box: each stores the text at
// the place the box was opened on before it acts; the Lyrics button starts lyric entry
// after storing a label.
TEST_P(TypedTextTest, TurningThePageOrAnotherCommandStoresTheTextFirst) {
  struct Command {
    const char* Name;
    std::function<void()> Run;
    int Page;  // the page shown afterwards; 0: the last
    bool StartsLyrics = false;
  };
  auto button = [this](const char* key) {
    return [this, key] { window->Toolbar()->Button(QString::fromLatin1(key))->trigger(); };
  };
  const std::vector<Command> commands = {
      {"Next Page", button("Next"), 2},
      {"Last Page", button("Last"), 0},
      {"Score > Refresh",
       [this] { window->MenuCommands()->Item(QStringLiteral("mnuScoreRefresh"))->trigger(); }, 1},
      {"Lyrics", button("Lyrics"), 1, true},
  };
  for (const Command& command : commands) {
    SCOPED_TRACE(command.Name);
    // Lyric entry goes on through its own button.
    if (GetParam() == Box::Lyric && command.StartsLyrics) continue;
    const QString text = QString::fromLatin1(command.Name).left(4);
    TypeInto(text);
    command.Run();
    Paginate(S());
    EXPECT_EQ(Stored(S()), text.toStdString());
    EXPECT_FALSE(Open());
    EXPECT_EQ(S().CurPage(), command.Page > 0 ? command.Page : S().LastPage());
    if (command.StartsLyrics) {
      EXPECT_TRUE(window->Lyrics().Active()) << "lyric entry starts";
      EXPECT_TRUE(window->Lyrics().txtLyric->hasFocus());
      QTest::keyClick(window->Lyrics().txtLyric, Qt::Key_Escape);
    } else {
      EXPECT_FALSE(BoxWidget()->isVisible());
    }
    S().SetCurPage(1);
  }
}

// The two boxes close together: lyric entry that ends (here at once, on a page without
// notes) while a label is being typed stores the label.
TEST_F(InPlaceTest, LyricEntryEndingWithALabelOpenStoresTheLabel) {
  window->SetTool(QStringLiteral("Text"));
  const QPoint at = PitchPoint(3000, 79);
  ASSERT_GE(at.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_TRUE(window->Labels().LabelActive());
  QTest::keyClicks(window->Labels().txtLabel, QStringLiteral("Andante"));
  EXPECT_FALSE(window->Lyrics().Start());
  EXPECT_FALSE(window->Labels().LabelActive());
  const auto label = S().Staff(1)->GlobalEvents().Find(1 << 23, notecraft::evtText);
  ASSERT_TRUE(label);
  EXPECT_EQ(label->Text(), "Andante");
}

// A chord panel holds nothing typed until a chord is picked: a page turned closes it, so
// that no chord is later stored at a point of the other page.
TEST_F(InPlaceTest, TurningThePageClosesTheChordPanel) {
  AddQuarterNotes(S(), 64);
  Relayout();
  ASSERT_GE(S().LastPage(), 2);
  window->SetTool(QStringLiteral("Chord"));
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, PitchPoint(3000, 79));
  ASSERT_TRUE(window->Labels().ChordPanelOpen());
  const int undo = S().UndoCount();
  window->Toolbar()->Button(QStringLiteral("Next"))->trigger();
  EXPECT_FALSE(window->Labels().ChordPanelOpen());
  EXPECT_FALSE(window->Labels().pctChords->isVisible());
  EXPECT_EQ(S().UndoCount(), undo);
}

}  // namespace
}  // namespace veltrimond::testing
