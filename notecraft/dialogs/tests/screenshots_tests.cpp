// Renders each dialog, filled from a small score, to a PNG in the test's build folder, to be
// looked at; the test checks that every form lays out to a sensible size.

#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QTabWidget>

#include "dialogfixtures.h"
#include "notecraft/dialogs/frmctxdelmes.h"
#include "notecraft/dialogs/frmctxdelstaff.h"
#include "notecraft/dialogs/frmctxinsmes.h"
#include "notecraft/dialogs/frmctxinsstaff.h"
#include "notecraft/dialogs/frmctxmeasure.h"
#include "notecraft/dialogs/frmctxscore.h"
#include "notecraft/dialogs/frmctxstaff.h"

namespace notecraft::dialogs {
namespace {

using testing::MakeScore;

void Save(QWidget& dialog, const QString& name) {
  dialog.show();
  QApplication::processEvents();
  const QPixmap shot = dialog.grab();
  EXPECT_GT(shot.width(), 150) << name.toStdString();
  EXPECT_GT(shot.height(), 60) << name.toStdString();
  EXPECT_LT(shot.width(), 1200) << name.toStdString();
  const QString dir = QStringLiteral(NOTECRAFT_DIALOGS_TEST_OUTPUT "/screenshots");
  QDir().mkpath(dir);
  EXPECT_TRUE(shot.save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
  dialog.hide();
}

TEST(DialogScreenshots, EveryFormLaysOut) {
  auto score = MakeScore({"Piano", "", "Violin"});
  score->AllGlobals().Add(0, evtRepeatBegin);
  {
    frmCTXDelStaff form;
    form.Init(*score);
    Save(form, QStringLiteral("frmCTXDelStaff"));
  }
  {
    frmCTXDelMes form;
    form.Init(*score);
    form.SetMeasureNumber(3);
    Save(form, QStringLiteral("frmCTXDelMes"));
  }
  {
    frmCTXInsMes form;
    form.Init(*score);
    Save(form, QStringLiteral("frmCTXInsMes"));
  }
  {
    frmCTXInsStaff form;
    form.Init(*score);
    Save(form, QStringLiteral("frmCTXInsStaff"));
  }
  {
    frmCTXStaff form;
    form.Init(*score);
    Save(form, QStringLiteral("frmCTXStaff-general"));
    form.findChild<QTabWidget*>(QStringLiteral("tabMain"))->setCurrentIndex(1);
    Save(form, QStringLiteral("frmCTXStaff-instruments"));
  }
  {
    frmCTXMeasure form;
    form.Init(*score);
    Save(form, QStringLiteral("frmCTXMeasure-general"));
    form.findChild<QTabWidget*>(QStringLiteral("tabMeasure"))->setCurrentIndex(1);
    Save(form, QStringLiteral("frmCTXMeasure-changes"));
  }
  {
    frmCTXScore form;
    form.InitChordMapper(score->SharedChord());
    form.Init(*score);
    auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("tabMain"));
    const char* pages[] = {"general", "titles", "dimensions", "chords"};
    for (int i = 0; i < 4; ++i) {
      tabs->setCurrentIndex(i);
      Save(form, QStringLiteral("frmCTXScore-") + QString::fromLatin1(pages[i]));
    }
  }
}

}  // namespace
}  // namespace notecraft::dialogs
