#include "child_commands_fixture.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <algorithm>

#include "notecraft/core/note.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/scorepagewidget.h"

namespace veltrimond::testing {

std::optional<notecraft::DeleteStaffAnswer> AnsweringDialogs::AskDeleteStaff(notecraft::Score&,
                                                                             int staff) {
  Calls << QStringLiteral("AskDeleteStaff %1").arg(staff);
  if (Cancel) return std::nullopt;
  // The entry of the staff proposed, "Last" when none was.
  if (staff < 1) return notecraft::DeleteStaffAnswer{1, 1, "Last"};
  return notecraft::DeleteStaffAnswer{1, staff + 1, std::to_string(staff)};
}

std::optional<notecraft::DeleteMeasureAnswer> AnsweringDialogs::AskDeleteMeasure(
    notecraft::Score&, int measure) {
  Calls << QStringLiteral("AskDeleteMeasure %1").arg(measure);
  if (Cancel) return std::nullopt;
  return DeleteMeasure ? *DeleteMeasure : notecraft::DeleteMeasureAnswer{1, measure};
}

std::optional<notecraft::InsertMeasureAnswer> AnsweringDialogs::AskInsertMeasure(
    notecraft::Score&, int measure, bool after) {
  Calls << QStringLiteral("AskInsertMeasure %1").arg(measure);
  if (Cancel) return std::nullopt;
  return notecraft::InsertMeasureAnswer{1, measure, after};
}

std::optional<notecraft::InsertStaffAnswer> AnsweringDialogs::AskInsertStaff(notecraft::Score&) {
  Calls << QStringLiteral("AskInsertStaff");
  if (Cancel) return std::nullopt;
  notecraft::InsertStaffAnswer answer;
  answer.ListIndex = 1;
  answer.ListText = "Last";
  return answer;
}

void AnsweringDialogs::ShowProperties(notecraft::Score&, int dialog, std::optional<int>,
                                      std::optional<int>) {
  Calls << QStringLiteral("ShowProperties %1").arg(dialog);
}

void CommandsFixture::SetUp() {
  SettingsFixture::SetUp();
  static const bool fontLoaded = notecraft::LoadMusicFont();
  (void)fontLoaded;
  notecraft::SetDialogService(&Dialogs);
}

void CommandsFixture::TearDown() {
  notecraft::SetDialogService(nullptr);
  SettingsFixture::TearDown();
}

std::unique_ptr<chdVLTMain> CommandsFixture::ShownWindow() {
  auto window = std::make_unique<chdVLTMain>(Context, Frame);
  window->SetTag(QStringLiteral("T1"));
  window->resize(1000, 800);
  ScoreMenus& menus = Menus(*window);
  menus.Prompts.YesNoCancel = [this](const QString& title, const QString& text) {
    Asked << title + QStringLiteral(": ") + text;
    return Answer;
  };
  auto keep = [this](const QString& title, const QString& text) {
    Messages << title + QStringLiteral(": ") + text;
  };
  menus.Saving().SetMessage(keep);
  menus.Printing().SetMessage(keep);
  window->show();
  QCoreApplication::processEvents();
  return window;
}

std::unique_ptr<chdVLTMain> CommandsFixture::OpenedWindow(const QString& path) {
  auto window = std::make_unique<chdVLTMain>(Context, Frame);
  window->SetTag(QStringLiteral("T2"));
  window->resize(1000, 800);
  if (!window->OpenFile(path)) return nullptr;
  Menus(*window).Saving().SetMessage([this](const QString& title, const QString& text) {
    Messages << title + QStringLiteral(": ") + text;
  });
  Menus(*window).Prompts.YesNoCancel = [this](const QString& title, const QString& text) {
    Asked << title + QStringLiteral(": ") + text;
    return Answer;
  };
  window->show();
  QCoreApplication::processEvents();
  return window;
}

void CommandsFixture::FillQuarters(chdVLTMain& window, int measures) {
  notecraft::Score& score = window.Score();
  auto voice = score.Staff(1)->Voice(1);
  for (int m = 0; m < measures; ++m)
    for (int beat = 0; beat < 4; ++beat) voice->Notes().Add(m * 64 + beat * 16, 71, 16, 0);
  score.RestartPagination(1);
  score.PaintWindow();
}

void CommandsFixture::SelectAllShown(chdVLTMain& window) {
  window.SetTool(QStringLiteral("Point"));
  auto voice = window.Score().Staff(1)->Voice(1);
  int left = 1 << 30, top = 1 << 30, right = 0, bottom = 0;
  for (int i = 1; i <= voice->Notes().Count(); ++i) {
    const auto note = voice->Notes().ByIndex(i);
    if (note->X() <= 0) continue;  // not on the page shown
    left = std::min(left, note->X());
    right = std::max(right, note->X());
    top = std::min(top, note->Y());
    bottom = std::max(bottom, note->Y());
  }
  ASSERT_LE(left, right) << "no notes drawn";
  constexpr int kTpp = 15;
  const QPoint from(left / kTpp - 30, top / kTpp - 30);
  const QPoint to(right / kTpp + 30, bottom / kTpp + 30);
  QWidget* page = window.pctScore;
  QTest::mousePress(page, Qt::LeftButton, {}, from);
  for (const QPoint& at : {(from + to) / 2, to}) {
    QMouseEvent move(QEvent::MouseMove, at, page->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(page, &move);
  }
  QTest::mouseRelease(page, Qt::LeftButton, {}, to);
}

}  // namespace veltrimond::testing
