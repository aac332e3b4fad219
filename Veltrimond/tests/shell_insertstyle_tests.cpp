// The frame's Insert Style: the dialog over the user's styles folder (seeded from the
// build tree's shipped styles), the style laid into the score, and the MIDI output let go
// while the dialog is open and taken back however it ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "Veltrimond/styles/qt/frmvltstyle.h"
#include "editor_fixture.h"
#include "notecraft/core/score.h"
#include "notecraft/core/voice.h"
#include "platform/settingsstore.h"
#include "tonegen/processoutput.h"
#include "tonegen/soundmaster.h"
#include "tonegen/tests/recordingsystem.h"

namespace veltrimond::testing {
namespace {

using styles::frmVLTStyle;

class InsertStyleFrameTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    Context.Paths.DataDir = QStringLiteral(VELTRIMOND_BUILD_DATA);
    // The folder the start-up records as Main/Styles is the user's XDG styles folder.
    Context.Paths.UserDataDir = Folder() + "/data/veltrimond";
    m_system = std::make_shared<tonegen::test::RecordingSystem>(
        tonegen::test::RecordingSystem::Devices{{-1, "MIDI Mapper"}},
        tonegen::test::RecordingSystem::Devices{});
    Context.MakeSoundMaster = [system = m_system] {
      return std::make_unique<tonegen::SoundMaster>(system);
    };
    m_score.CreateDefault();
  }

  // Runs the frame's InsertStyle while `answer` works the dialog; the dialog is cancelled
  // if the answer leaves it open.
  bool Insert(long staff, long measure, int type, const std::function<void(frmVLTStyle&)>& answer) {
    mdiVLTMain* frame = StartReady();
    bool answered = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<frmVLTStyle*>(QApplication::activeModalWidget());
      if (!dialog || answered) return;
      answered = true;
      m_outputOpenInDialog = tonegen::ProcessOutput::Instance().IsOpen();
      answer(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
    poll.start();
    const bool inserted = frame->InsertStyle(m_score, staff, measure, type);
    EXPECT_TRUE(answered);
    return inserted;
  }

  static void Choose(frmVLTStyle& dialog, const QString& item) {
    auto* list = dialog.findChild<QListWidget*>("lstStyle");
    const auto found = list->findItems(item, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << item.toStdString();
    list->setCurrentItem(found.front());
  }
  static void Click(frmVLTStyle& dialog, const char* button) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
  }
  std::vector<int> Times() const {
    std::vector<int> times;
    for (const auto& note : m_score.Staff(1)->Voice(1)->Notes()) times.push_back(note->NoteTime());
    return times;
  }
  int Opens() const { return static_cast<int>(m_system->Log().Opened.size()); }

  std::shared_ptr<tonegen::test::RecordingSystem> m_system;
  notecraft::Score m_score;
  bool m_outputOpenInDialog = true;
};

TEST_F(InsertStyleFrameTest, InsertLaysTheStyleFromTheMeasureShownWithTheOutputClosedMeanwhile) {
  platform::WriteSetting("Style", "Type", 2);  // Bass, from the last time
  QString at, shownType;
  const bool inserted = Insert(1, 3, -1, [&](frmVLTStyle& dialog) {
    at = dialog.findChild<QLineEdit*>("txtAt")->text();
    shownType = dialog.findChild<QComboBox*>("cboType")->currentText();
    Choose(dialog, "Walking Bass - [Bass, 4/4]");
    dialog.findChild<QLineEdit*>("txtQuant")->setText("2");
    Click(dialog, "cmdOk");
  });
  EXPECT_TRUE(inserted);
  EXPECT_EQ(at, "3");
  EXPECT_EQ(shownType, "Bass");
  EXPECT_FALSE(m_outputOpenInDialog);
  EXPECT_TRUE(tonegen::ProcessOutput::Instance().IsOpen());
  EXPECT_EQ(Opens(), 2);  // at the frame's load, and after the dialog

  EXPECT_EQ(Times(), (std::vector<int>{128, 144, 160, 176, 192, 208, 224, 240}));
  std::vector<int> pitches;
  for (const auto& note : m_score.Staff(1)->Voice(1)->Notes()) pitches.push_back(note->Value(0));
  EXPECT_EQ(pitches, (std::vector<int>{36, 40, 43, 45, 36, 40, 43, 45}));
  EXPECT_TRUE(m_score.Changed());

  // The user's folder was seeded from the shipped styles and is the one recorded.
  const QString userStyles = Folder() + "/data/veltrimond/Styles";
  EXPECT_EQ(platform::ReadSetting("Main", "Styles"), userStyles);
  EXPECT_TRUE(QFile::exists(userStyles + "/Walking Bass.sty"));
}

TEST_F(InsertStyleFrameTest, CancelChangesNothingAndTakesTheOutputBack) {
  const bool inserted = Insert(1, 1, 3, [&](frmVLTStyle& dialog) {
    EXPECT_EQ(dialog.findChild<QComboBox*>("cboType")->currentText(), "Drums");
    Choose(dialog, "Rock Drums - [Drums, 4/4]");
    Click(dialog, "cmdCancel");
  });
  EXPECT_FALSE(inserted);
  EXPECT_FALSE(m_outputOpenInDialog);
  EXPECT_TRUE(tonegen::ProcessOutput::Instance().IsOpen());
  EXPECT_TRUE(Times().empty());
  EXPECT_FALSE(m_score.Changed());
  EXPECT_FALSE(platform::HasSetting("Style", "Type"));
}

TEST_F(InsertStyleFrameTest, AStyleGoneBeforeInsertIsReportedAndInsertsNothing) {
  const bool inserted = Insert(1, 1, 0, [&](frmVLTStyle& dialog) {
    Choose(dialog, "Waltz - [Treble, 3/4]");
    ASSERT_TRUE(QFile::remove(dialog.SelectedStyleFile()));
    Click(dialog, "cmdOk");
  });
  EXPECT_FALSE(inserted);
  EXPECT_TRUE(tonegen::ProcessOutput::Instance().IsOpen());
  EXPECT_TRUE(Times().empty());
  EXPECT_FALSE(m_score.Changed());
}

}  // namespace
}  // namespace veltrimond::testing
