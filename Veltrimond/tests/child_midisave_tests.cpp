// Saving a score read from a MIDI file: Save (menu, toolbar, the close prompt's Yes) never
// writes over the MIDI file but goes to Save As, which offers the name as a score beside
// it; MIDI is written only where the user chooses it there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "Veltrimond/core/openedfile.h"
#include "child_commands_fixture.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "qstring_printer.h"

namespace veltrimond::testing {
namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A Standard MIDI File with what a score cannot keep: a tempo change, soft and loud
// velocities and the sustain pedal.
QByteArray RichMidiFile() {
  const auto track = [](const QByteArray& events) {
    QByteArray t("MTrk");
    const auto size = static_cast<quint32>(events.size());
    t.append(char(size >> 24)).append(char(size >> 16)).append(char(size >> 8)).append(char(size));
    return t + events;
  };
  const QByteArray conductor = QByteArray::fromHex(
      "00ff510307a120"    // 120 beats a minute
      "00ff580404021808"  // 4/4
      "8f00ff51030927c0"  // at beat 4: 100 beats a minute
      "00ff2f00");
  const QByteArray piano = QByteArray::fromHex(
      "00c000"    // piano
      "00b0407f"  // pedal down
      "00903c28"
      "83604000"  // C4, soft
      "00904064"
      "83604000"  // E4, loud
      "0090437f"
      "87404000"  // G4, loudest, a half
      "00b04000"  // pedal up
      "00ff2f00");
  return QByteArray::fromHex("4d546864000000060001000201e0") + track(conductor) + track(piano);
}

class MidiSaveTest : public CommandsFixture {
protected:
  void SetUp() override {
    CommandsFixture::SetUp();
    MidiPath = Dir.filePath(QStringLiteral("Song.mid"));
    Original = RichMidiFile();
    QFile file(MidiPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Original);
  }

  // The MIDI file opened, one note added, Save As answered by Answer.
  std::unique_ptr<chdVLTMain> ChangedMidiWindow() {
    auto window = OpenedWindow(MidiPath);
    EXPECT_EQ(window->Score().FileFormat(), notecraft::fmtMIDI);
    window->Score().Staff(1)->Voice(1)->Notes().Add(64 * 2, 72, 16, 0);
    window->Score().SetChanged(true);
    Menus(*window).Saving().SetSaveAsPrompt([this](const SaveAsOffer& offer) {
      Offers << offer.Folder + QLatin1Char('/') + offer.Name +
                    QStringLiteral(" filter %1").arg(offer.Filter);
      return SaveAs ? SaveAs(offer) : std::nullopt;
    });
    window->Prompts.AskSaveChanges = [](const QString&, const QString&) {
      return int(QMessageBox::Yes);
    };
    return window;
  }

  // Accepts what the dialog proposes.
  static std::optional<SaveAsChoice> Accept(const SaveAsOffer& offer) {
    return SaveAsChoice{offer.Folder + QLatin1Char('/') + offer.Name, offer.Filter};
  }

  QTemporaryDir Dir;
  QString MidiPath;
  QByteArray Original;
  QStringList Offers;
  std::function<std::optional<SaveAsChoice>(const SaveAsOffer&)> SaveAs = Accept;
};

TEST_F(MidiSaveTest, EverySaveOfAScoreFromAMidiFileOffersTheScoreBesideIt) {
  const QString folder = QFileInfo(Dir.path()).absoluteFilePath();
  const QString score = folder + QStringLiteral("/Song.sco");
  struct Entry {
    const char* name;
    std::function<bool(chdVLTMain&)> save;
  };
  const Entry entries[] = {
      {"File > Save",
       [](chdVLTMain& w) {
         Item(w, "mnuFileSave")->trigger();
         return !w.Score().Changed();
       }},
      {"toolbar Save",
       [](chdVLTMain& w) {
         Button(w, "Save")->trigger();
         return !w.Score().Changed();
       }},
      {"Yes to the close prompt", [](chdVLTMain& w) { return w.close(); }},
  };
  for (const Entry& entry : entries) {
    SCOPED_TRACE(entry.name);
    QFile::remove(score);
    Offers.clear();
    auto window = ChangedMidiWindow();
    ASSERT_TRUE(entry.save(*window));
    EXPECT_EQ(Offers, QStringList{folder + QStringLiteral("/Song.sco filter 1")});
    EXPECT_EQ(ReadBytes(MidiPath), Original) << "the MIDI file is untouched";
    EXPECT_EQ(ReadBytes(score).left(4), QByteArray("Vm00"));
    EXPECT_EQ(Context.History.Path(1), score);
    if (window->isVisible()) {
      EXPECT_EQ(window->windowTitle(), QStringLiteral("Song"));
      // Now a score file of its own: saved where it is, without a question.
      window->Score().SetTitle("Again");
      Item(*window, "mnuFileSave")->trigger();
      EXPECT_EQ(Offers.size(), 1);
      EXPECT_FALSE(window->Score().Changed());
    }
  }
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
}

TEST_F(MidiSaveTest, CancellingTheOfferedSaveAsKeepsTheChangesAndTheMidiFile) {
  SaveAs = nullptr;
  auto window = ChangedMidiWindow();
  Item(*window, "mnuFileSave")->trigger();
  EXPECT_EQ(Offers.size(), 1);
  EXPECT_TRUE(window->Score().Changed());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Song *"));
  EXPECT_FALSE(window->close()) << "a cancelled save keeps the window";
  EXPECT_EQ(ReadBytes(MidiPath), Original);
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Song.mid")});
}

TEST_F(MidiSaveTest, MidiIsWrittenWhereTheUserChoosesItAndSaveStillAsksAfterwards) {
  struct Case {
    const char* typed;
    int filter;
  } cases[] = {{"Song.mid", kTypeMidi}, {"Song.mid", kTypeScore}, {"Copy", kTypeMidi}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const QString path = Dir.filePath(QString::fromLatin1(c.typed));
    const QString written = QFileInfo(path).suffix().isEmpty() ? path + ".mid" : path;
    SaveAs = [&](const SaveAsOffer&) { return SaveAsChoice{path, c.filter}; };
    auto window = ChangedMidiWindow();
    Item(*window, "mnuFileSave")->trigger();
    EXPECT_FALSE(window->Score().Changed());
    const QByteArray bytes = ReadBytes(written);
    EXPECT_EQ(bytes.left(4), QByteArray("MThd"));
    EXPECT_NE(bytes, Original) << "the score as exported, with the added note";
    EXPECT_FALSE(QFile::exists(Dir.filePath(QStringLiteral("Song.sco"))));
    // The file written is MIDI again: the next Save asks once more, offering the score.
    const int offered = static_cast<int>(Offers.size());
    SaveAs = nullptr;
    window->Score().SetTitle("Again");
    Item(*window, "mnuFileSave")->trigger();
    ASSERT_EQ(Offers.size(), offered + 1);
    EXPECT_TRUE(Offers.last().endsWith(QFileInfo(written).completeBaseName() +
                                       QStringLiteral(".sco filter 1")));
    EXPECT_EQ(ReadBytes(written), bytes);
    window->Score().SetChanged(false);
    QFile file(MidiPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Original);
  }
}

TEST_F(MidiSaveTest, TheDialogShowsTheScoreNameAndTheMidiFilterRenamesIt) {
  auto window = OpenedWindow(MidiPath);
  QString shown, filter, afterMidi, afterAll;
  QTimer::singleShot(50, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (!edit || !types) {
      dialog->reject();
      return;
    }
    shown = edit->text();
    filter = dialog->selectedNameFilter();
    const QString image = qEnvironmentVariable("SAVE_AS_SNAPSHOT");
    if (!image.isEmpty()) dialog->grab().save(image);
    // As a choice in the list does.
    const auto choose = [types](int index) {
      types->setCurrentIndex(index);
      emit types->activated(index);
      emit types->textActivated(types->itemText(index));
    };
    choose(1);
    afterMidi = edit->text();
    choose(2);
    afterAll = edit->text();
    dialog->reject();
  });
  // Save goes to the real dialog.
  Menus(*window).Saving().SetSaveAsPrompt(
      [&](const SaveAsOffer& offer) { return RunSaveAsDialog(window.get(), offer); });
  window->Score().SetChanged(true);
  Item(*window, "mnuFileSave")->trigger();
  EXPECT_EQ(shown, QStringLiteral("Song.sco"));
  EXPECT_EQ(filter, QStringLiteral("Veltrimond Files (*.sco)"));
  EXPECT_EQ(afterMidi, QStringLiteral("Song.mid"));
  EXPECT_EQ(afterAll, QStringLiteral("Song.mid")) << "All Files keeps the name";
  EXPECT_EQ(ReadBytes(MidiPath), Original);
}

}  // namespace
}  // namespace veltrimond::testing
