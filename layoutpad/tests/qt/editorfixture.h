#pragma once
// The style editor's window over a temporary styles folder, with scripted answers to its
// questions, the engine's messages recorded, and helpers that click like a user.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <deque>
#include <memory>
#include <optional>

#include "layoutpad/app/frmsylmain.h"
#include "layoutpad/app/stylelibrary.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/scorepagewidget.h"
#include "platform/tests/xdgsandbox.h"

namespace layoutpad::testing {

struct Said {
  QString title, text;
};

// Answers from a script; asks past its end are answered Cancel.
class ScriptedPrompter final : public StylePrompter {
public:
  std::deque<Answer> answers;
  std::deque<QString> files;  // what the Save As dialog returns; "" cancels it
  QList<Said> asked, told;
  int dialogs = 0;

  Answer Ask(QWidget*, const QString& title, const QString& text) override {
    asked.append({title, text});
    if (answers.empty()) return Answer::Cancel;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  std::optional<QString> SaveFileName(QWidget*, const QString&) override {
    ++dialogs;
    if (files.empty()) return std::nullopt;
    const QString file = files.front();
    files.pop_front();
    if (file.isEmpty()) return std::nullopt;
    return file;
  }
  void Tell(QWidget*, const QString& title, const QString& text) override {
    told.append({title, text});
  }
};

class RecordingPlatform final : public notecraft::Platform {
public:
  QList<Said> messages;
  void ShowMessage(const std::string& title, const std::string& text) override {
    messages.append({QString::fromStdString(title), QString::fromStdString(text)});
  }
};

class StyleEditorTest : public ::testing::Test {
protected:
  StyleEditorTest() { notecraft::SetPlatform(&engine); }
  ~StyleEditorTest() override {
    window.reset();
    notecraft::SetPlatform(nullptr);
  }

  QString Folder() const { return styles.path(); }
  QString StyleFile(const QString& name) const { return Folder() + "/" + name + ".sty"; }

  frmSYLMain& Open() {
    auto scripted = std::make_unique<ScriptedPrompter>();
    prompter = scripted.get();
    window = std::make_unique<frmSYLMain>(Folder(), std::move(scripted));
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
  }

  template <typename T>
  T* Child(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QComboBox* Names() const { return Child<QComboBox>("cboName"); }
  QComboBox* Types() const { return Child<QComboBox>("cboType"); }
  QPushButton* Button(const char* name) const { return Child<QPushButton>(name); }
  notecraft::ScorePageWidget* Page() const { return Child<notecraft::ScorePageWidget>("pctPage"); }
  notecraft::Score& Style() const { return window->Style(); }
  QStringList Entries() const {
    QStringList list;
    for (int i = 0; i < Names()->count(); ++i) list.append(Names()->itemText(i));
    return list;
  }

  // A user's choice in a drop-down list.
  static void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  void ChooseStyle(const QString& name) {
    const int index = Names()->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    ASSERT_GE(index, 0) << name.toStdString();
    Choose(Names(), index);
  }
  void ChooseType(StyleType type) { Choose(Types(), static_cast<int>(type)); }
  void ClickTool(const char* key) {
    auto* button = Child<QToolButton>(key);
    ASSERT_NE(button, nullptr) << key;
    QTest::mouseClick(button, Qt::LeftButton);
  }

  // A point of the page (widget pixels) in staff 1's band, fraction of the way down it and
  // across of the way along the page, found by asking the score where the band lies.
  QPoint StaffPoint(double fraction = 0.5, double across = 0.5) const {
    notecraft::ScorePageWidget* page = Page();
    const int x = static_cast<int>(page->width() * across);
    int top = -1, bottom = -1;
    for (int y = 0; y < page->height(); ++y) {
      const QPointF twips = page->ToTwips(QPointF(x, y));
      const bool hit =
          Style().HitTest(static_cast<float>(twips.x()), static_cast<float>(twips.y()));
      if (hit && top < 0) top = y;
      if (hit) bottom = y;
      if (!hit && top >= 0) break;
    }
    EXPECT_GE(top, 0) << "no staff band on the page";
    return {x, top + static_cast<int>((bottom - top) * fraction)};
  }
  void ClickPage(QPoint point) {
    QTest::mouseMove(Page(), point);
    QTest::mouseClick(Page(), Qt::LeftButton, {}, point);
  }

  int NoteCount() const {
    int count = 0;
    for (const auto& voice : Style().AllVoices()) count += voice->Notes().Count();
    return count;
  }
  std::shared_ptr<notecraft::Note> FirstNote() const {
    auto voice = Style().AllVoices().Item(1);
    return voice && voice->Notes().Count() > 0 ? voice->Notes().ByIndex(1) : nullptr;
  }

  // A style saved through the window: a note entered on a new style of the type, saved as
  // name.
  void MakeStyle(const QString& name, StyleType type) {
    Choose(Names(), 0);
    ChooseType(type);
    ClickTool("N04");
    ClickPage(StaffPoint());
    prompter->files.push_back(StyleFile(name));
    QTest::mouseClick(Button("cmdSaveAs"), Qt::LeftButton);
  }

  platform::testing::XdgSandbox sandbox;
  QTemporaryDir styles;
  RecordingPlatform engine;
  ScriptedPrompter* prompter = nullptr;
  std::unique_ptr<frmSYLMain> window;
};

}  // namespace layoutpad::testing
