// The file commands through the window: save and reopen each style type, the question on
// switching with unsaved changes, Save As rules, delete, a style that cannot be read or
// written, listening, and the properties dialog.
#include <QFileInfo>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <chrono>
#include <thread>

#include "editorfixture.h"
#include "layoutpad/app/frmsylproperties.h"
#include "layoutpad/core/styletype.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/note.h"
#include "notecraft/player/fluidscoreplayer.h"

namespace layoutpad::testing {
namespace {

TEST_F(StyleEditorTest, EachTypeIsSavedAndReopenedWithItsNotes) {
  Open();
  const std::pair<const char*, StyleType> made[] = {
      {"Ballad", StyleType::Treble}, {"Walking", StyleType::Bass}, {"Rock Beat", StyleType::Drums}};
  for (const auto& [name, type] : made) {
    MakeStyle(name, type);
    EXPECT_TRUE(QFileInfo::exists(StyleFile(name))) << name;
    EXPECT_EQ(window->CurrentStyleName(), name);
    EXPECT_EQ(Names()->currentText(), name);
    EXPECT_FALSE(Button("cmdSave")->isEnabled());
    EXPECT_TRUE(Button("cmdDelete")->isEnabled());
  }
  EXPECT_EQ(Entries(), (QStringList{"(New Style)", "Ballad", "Walking", "Rock Beat"}));
  EXPECT_TRUE(prompter->asked.isEmpty()) << "nothing was left unsaved";

  for (const auto& [name, type] : made) {
    Choose(Names(), 0);
    ASSERT_EQ(NoteCount(), 0);
    ChooseStyle(name);
    EXPECT_EQ(window->CurrentStyleName(), name);
    EXPECT_EQ(Types()->currentIndex(), static_cast<int>(type)) << name;
    EXPECT_EQ(NoteCount(), 1) << name;
    EXPECT_EQ(Child<QComboBox>("cboDrum")->isVisible(), type == StyleType::Drums) << name;
    EXPECT_FALSE(Button("cmdSave")->isEnabled());
  }
  EXPECT_TRUE(engine.messages.isEmpty());
}

// The styles the install folder ships open as what their names say, with their notes.
TEST_F(StyleEditorTest, TheShippedStylesOpenWithTheirTypes) {
  const QDir shipped(qEnvironmentVariable("VELTRIMOND_HOME") + "/Styles");
  const QStringList files = shipped.entryList({"*.sty"}, QDir::Files);
  ASSERT_FALSE(files.isEmpty()) << shipped.path().toStdString();
  for (const QString& file : files)
    ASSERT_TRUE(QFile::copy(shipped.filePath(file), Folder() + "/" + file));
  Open();
  ASSERT_EQ(Entries().size(), files.size() + 1);
  for (int i = 1; i < Names()->count(); ++i) {
    const QString name = Names()->itemText(i);
    const StyleType type = name.contains("Drums")  ? StyleType::Drums
                           : name.contains("Bass") ? StyleType::Bass
                                                   : StyleType::Treble;
    ChooseStyle(name);
    EXPECT_EQ(window->CurrentStyleName(), name);
    EXPECT_EQ(Types()->currentIndex(), static_cast<int>(type)) << name.toStdString();
    EXPECT_GT(NoteCount(), 0) << name.toStdString();
    EXPECT_EQ(Child<QComboBox>("cboDrum")->isVisible(), type == StyleType::Drums);
    EXPECT_FALSE(Button("cmdSave")->isEnabled()) << name.toStdString();
  }
  EXPECT_TRUE(engine.messages.isEmpty());
  EXPECT_TRUE(prompter->asked.isEmpty());
}

// Switching with unsaved changes: Cancel, and Yes whose Save As is cancelled, keep the style
// and its changes; No drops them; Yes on a named style saves it first.
TEST_F(StyleEditorTest, SwitchingWithUnsavedChangesAsksFirst) {
  Open();
  MakeStyle("Waltz", StyleType::Treble);
  Choose(Names(), 0);
  ClickTool("N02");
  ClickPage(StaffPoint());
  ASSERT_TRUE(Button("cmdSave")->isEnabled());

  prompter->answers = {Answer::Cancel};
  ChooseStyle("Waltz");
  ASSERT_EQ(prompter->asked.size(), 1);
  EXPECT_EQ(prompter->asked[0].title, "Save");
  EXPECT_EQ(prompter->asked[0].text, "Save changes to '(New Style)'?");
  EXPECT_EQ(window->CurrentStyleName(), "(New Style)");
  EXPECT_EQ(Names()->currentIndex(), 0) << "the list shows the style still loaded";
  EXPECT_EQ(NoteCount(), 1);

  prompter->answers = {Answer::Yes};  // and the Save As dialog is cancelled
  ChooseStyle("Waltz");
  EXPECT_EQ(prompter->dialogs, 2);
  EXPECT_EQ(window->CurrentStyleName(), "(New Style)");
  EXPECT_EQ(Names()->currentIndex(), 0);
  EXPECT_EQ(NoteCount(), 1) << "the new style's work is kept";
  EXPECT_TRUE(Button("cmdSave")->isEnabled());

  prompter->answers = {Answer::No};
  ChooseStyle("Waltz");
  EXPECT_EQ(window->CurrentStyleName(), "Waltz");
  EXPECT_EQ(NoteCount(), 1) << "Waltz's own note";

  // Yes on a named style writes it before the next one opens.
  ClickTool("N04");
  ClickPage(StaffPoint(0.5, 0.8));
  ASSERT_EQ(NoteCount(), 2);
  prompter->answers = {Answer::Yes};
  Choose(Names(), 0);
  EXPECT_EQ(window->CurrentStyleName(), "(New Style)");
  ChooseStyle("Waltz");
  EXPECT_EQ(NoteCount(), 2);
  EXPECT_EQ(prompter->asked.size(), 4);
}

TEST_F(StyleEditorTest, AFailedSaveKeepsSaveEnabledAndSaysWhy) {
  Open();
  MakeStyle("Swing", StyleType::Bass);
  ClickTool("N04");
  ClickPage(StaffPoint(0.5, 0.8));
  // The style's file turns into a folder: nothing can be written there.
  ASSERT_TRUE(QFile::remove(StyleFile("Swing")));
  ASSERT_TRUE(QDir(Folder()).mkdir("Swing.sty"));

  QTest::mouseClick(Button("cmdSave"), Qt::LeftButton);
  ASSERT_EQ(prompter->told.size(), 1);
  EXPECT_EQ(prompter->told[0].title, "Save");
  EXPECT_TRUE(Button("cmdSave")->isEnabled());
  EXPECT_TRUE(Style().Changed());

  prompter->answers = {Answer::Yes};
  Choose(Names(), 0);
  EXPECT_EQ(window->CurrentStyleName(), "Swing") << "a failed save does not switch";
  EXPECT_EQ(Names()->currentText(), "Swing");
  EXPECT_EQ(NoteCount(), 2);
}

TEST_F(StyleEditorTest, AStyleThatCannotBeReadLeavesTheLoadedOne) {
  {
    QFile bad(StyleFile("Broken"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a score at all");
  }
  Open();
  MakeStyle("Good", StyleType::Treble);
  ChooseStyle("Broken");
  ASSERT_EQ(engine.messages.size(), 1);
  EXPECT_EQ(engine.messages[0].title, "Open");
  EXPECT_EQ(window->CurrentStyleName(), "Good");
  EXPECT_EQ(Names()->currentText(), "Good");
  EXPECT_EQ(NoteCount(), 1);
  EXPECT_TRUE(window->Ready());
}

TEST_F(StyleEditorTest, SaveAsGoesIntoTheStylesFolderAndMatchesNamesWithoutCase) {
  QTemporaryDir elsewhere;
  Open();
  MakeStyle("Rock", StyleType::Drums);
  Choose(Names(), 0);
  ClickTool("N04");
  ClickPage(StaffPoint());

  // Chosen in another folder, with several dots: the styles folder gets "Slow.Rock".
  prompter->files = {elsewhere.path() + "/Slow.Rock.sty"};
  QTest::mouseClick(Button("cmdSaveAs"), Qt::LeftButton);
  EXPECT_TRUE(QFileInfo::exists(StyleFile("Slow.Rock")));
  EXPECT_FALSE(QFileInfo::exists(elsewhere.path() + "/Slow.Rock.sty"));
  EXPECT_EQ(window->CurrentStyleName(), "Slow.Rock");

  // "ROCK" is the listed Rock: its entry is selected, its file replaced after asking.
  prompter->files = {Folder() + "/ROCK.sty"};
  prompter->answers = {Answer::Yes};
  QTest::mouseClick(Button("cmdSaveAs"), Qt::LeftButton);
  ASSERT_EQ(prompter->asked.size(), 1);
  EXPECT_EQ(prompter->asked[0].text, "The style 'Rock' already exists. Replace it?");
  EXPECT_EQ(Entries(), (QStringList{"(New Style)", "Rock", "Slow.Rock"}));
  EXPECT_EQ(Names()->currentText(), "Rock");
  EXPECT_EQ(window->CurrentStyleName(), "Rock");
  EXPECT_FALSE(QFileInfo::exists(Folder() + "/ROCK.sty"));
  EXPECT_EQ(Types()->currentText(), "Treble") << "the editor keeps what it has";

  // Answering No to replacing writes nothing.
  ChooseStyle("Slow.Rock");
  const auto before = QFileInfo(StyleFile("Rock")).lastModified();
  prompter->files = {elsewhere.path() + "/rock.sty"};
  prompter->answers = {Answer::No};
  QTest::mouseClick(Button("cmdSaveAs"), Qt::LeftButton);
  EXPECT_EQ(window->CurrentStyleName(), "Slow.Rock");
  EXPECT_EQ(QFileInfo(StyleFile("Rock")).lastModified(), before);
}

TEST_F(StyleEditorTest, SaveAsRefusesNamesTheListCannotHold) {
  Open();
  ClickTool("N04");
  ClickPage(StaffPoint());
  for (const char* file : {"/.sty", "/(New Style).sty", "/ .sty", "/.hidden.sty"}) {
    prompter->told.clear();
    prompter->files = {Folder() + QString::fromLatin1(file)};
    QTest::mouseClick(Button("cmdSaveAs"), Qt::LeftButton);
    ASSERT_EQ(prompter->told.size(), 1) << file;
    EXPECT_EQ(prompter->told[0].title, "Save As");
  }
  EXPECT_TRUE(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
  EXPECT_EQ(Entries(), QStringList{"(New Style)"});
  EXPECT_TRUE(Button("cmdSave")->isEnabled());
}

TEST_F(StyleEditorTest, DeleteAsksAndOnlyYesDeletes) {
  Open();
  MakeStyle("Polka", StyleType::Bass);
  for (Answer answer : {Answer::No, Answer::Cancel}) {
    prompter->answers = {answer};
    QTest::mouseClick(Button("cmdDelete"), Qt::LeftButton);
    EXPECT_TRUE(QFileInfo::exists(StyleFile("Polka")));
    EXPECT_EQ(window->CurrentStyleName(), "Polka");
  }
  prompter->answers = {Answer::Yes};
  QTest::mouseClick(Button("cmdDelete"), Qt::LeftButton);
  ASSERT_EQ(prompter->asked.size(), 3);
  EXPECT_EQ(prompter->asked[2].title, "Delete");
  EXPECT_EQ(prompter->asked[2].text, "Are you sure you want to delete 'Polka'?");
  EXPECT_FALSE(QFileInfo::exists(StyleFile("Polka")));
  EXPECT_EQ(Entries(), QStringList{"(New Style)"});
  EXPECT_EQ(window->CurrentStyleName(), "(New Style)");
  EXPECT_EQ(NoteCount(), 0);
  EXPECT_FALSE(Button("cmdDelete")->isEnabled());
}

// The 16-bit samples of the file driver's WAV output, peak level.
int PeakOf(const QString& wav) {
  QFile file(wav);
  if (!file.open(QIODevice::ReadOnly)) return 0;
  const QByteArray bytes = file.readAll();
  const qsizetype data = bytes.indexOf("data");
  int peak = 0;
  for (qsizetype i = data + 8; data >= 0 && i + 1 < bytes.size(); i += 2) {
    const auto sample = static_cast<qint16>(static_cast<quint8>(bytes[i]) |
                                            (static_cast<quint8>(bytes[i + 1]) << 8));
    peak = std::max(peak, std::abs(static_cast<int>(sample)));
  }
  return peak;
}

TEST_F(StyleEditorTest, ListenPlaysTheWholeStyle) {
  const QString wav = styles.path() + "/listen.wav";
  qputenv("TONEGEN_AUDIO_DRIVER", ("file:" + wav).toUtf8());
  notecraft::FluidScorePlayer::Install();
  Open();
  ClickTool("N04");
  ClickPage(StaffPoint(0.5, 0.2));
  ASSERT_EQ(NoteCount(), 1);
  // At 120 quarter notes a minute a 64th lasts 1/32 s; the file driver renders in real time.
  const int lastsMs = (FirstNote()->NoteTime() + 16) * 1000 / 32 + 500;

  QTest::mouseClick(Child<QToolButton>("cmdListen"), Qt::LeftButton);
  EXPECT_TRUE(prompter->told.isEmpty())
      << (prompter->told.isEmpty() ? "" : prompter->told[0].text.toStdString());
  EXPECT_TRUE(Style().Playing());
  QTest::qWait(lastsMs);
  Style().PlayScore(true);
  window.reset();
  notecraft::SetScorePlayerFactory({});
  qputenv("TONEGEN_AUDIO_DRIVER", "none");
  EXPECT_GT(QFileInfo(wav).size(), 44100) << "about a second of sound";
  EXPECT_GT(PeakOf(wav), 300) << "the notes are heard";
}

TEST_F(StyleEditorTest, ListenSaysWhyItCannotPlay) {
  notecraft::SetScorePlayerFactory({});
  Open();
  QTest::mouseClick(Child<QToolButton>("cmdListen"), Qt::LeftButton);
  ASSERT_EQ(prompter->told.size(), 1);
  EXPECT_EQ(prompter->told[0].title, "Listen");
  EXPECT_FALSE(prompter->told[0].text.isEmpty());
}

TEST_F(StyleEditorTest, PropertiesGiveTheStyleItsTimeSignature) {
  Open();
  EXPECT_EQ(PackTimeSignature(6, 8), 776);
  EXPECT_EQ(PackTimeSignature(5, 4), 656);
  EXPECT_EQ(PackTimeSignature(7, 3), 0);
  EXPECT_EQ(PackTimeSignature(0, 4), 0);
  {
    frmSYLProperties dialog(Style(), false, window.get());
    EXPECT_EQ(dialog.windowTitle(), "Properties");
    EXPECT_EQ(dialog.ChosenTimeSignature(), 528) << "the style's own";
    auto* tabs = dialog.findChild<QTabWidget*>("tabProperties");
    ASSERT_EQ(tabs->count(), 1) << "Drums only for a drum style";
    EXPECT_EQ(tabs->tabText(0), "General");
    dialog.findChild<QAbstractButton*>("optTime5")->click();  // 3/4
    EXPECT_TRUE(dialog.Apply());
  }
  EXPECT_EQ(Style().AllGlobals().DftTimeVal(), 400);
  EXPECT_TRUE(Button("cmdSave")->isEnabled());

  ChooseType(StyleType::Drums);
  frmSYLProperties dialog(Style(), true, window.get());
  EXPECT_EQ(dialog.findChild<QTabWidget*>("tabProperties")->tabText(1), "Drums");
  auto type = [&](const char* box, const char* text) {
    auto* edit = dialog.findChild<QLineEdit*>(box);
    edit->selectAll();
    QTest::keyClicks(edit, text);
  };
  type("txtTime0", "7");
  type("txtTime1", "3");
  EXPECT_FALSE(dialog.findChild<QPushButton*>("cmdOk")->isEnabled());
  type("txtTime1", "8");
  EXPECT_TRUE(dialog.findChild<QPushButton*>("cmdOk")->isEnabled());
  EXPECT_TRUE(dialog.Apply());
  EXPECT_EQ(Style().AllGlobals().DftTimeVal(), 7 * 128 + 8);
}

}  // namespace
}  // namespace layoutpad::testing
