// Renders each dialog and the progress window, filled from a small score, to a PNG in the
// test's build folder, to be looked at; the test checks that every form lays out to a
// sensible size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QProgressDialog>

#include "edittools/qt/frmvltcopymove.h"
#include "edittools/qt/frmvltsetnote.h"
#include "edittools/qt/frmvlttranspose.h"
#include "edittools/qt/toolbox.h"
#include "toolfixtures.h"

namespace edittools {
namespace {

void Save(QWidget& dialog, const QString& name) {
  dialog.show();
  QApplication::processEvents();
  const QPixmap shot = dialog.grab();
  EXPECT_GT(shot.width(), 150) << name.toStdString();
  EXPECT_GT(shot.height(), 60) << name.toStdString();
  EXPECT_LT(shot.width(), 1000) << name.toStdString();
  const QString dir = QStringLiteral(EDITTOOLS_TEST_OUTPUT "/screenshots");
  QDir().mkpath(dir);
  EXPECT_TRUE(shot.save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
  dialog.hide();
}

TEST(DialogScreenshots, EveryFormLaysOut) {
  auto score = testing::MakeScore(3, 2);
  score->Staff(1)->SetDescription("Flute");
  score->SetKey(-3);
  {
    frmVLTSetNote form;
    Save(form, QStringLiteral("frmVLTSetNote"));
  }
  {
    frmVLTTranspose form;
    form.Init(*score, 12);
    Save(form, QStringLiteral("frmVLTTranspose"));
  }
  {
    frmVLTCopyMove form;
    form.Init(*score, 12);
    Save(form, QStringLiteral("frmVLTCopyMove"));
  }
  {
    testing::Put(*score, 1, 1, {{0, {60}}, {64, {62}}});
    ToolBox box;
    box.Init(score);
    box.SetDest(1, 1, 1);
    ASSERT_TRUE(box.UseTool(toolTranspose));
    ASSERT_TRUE(box.ProgressWindow());
    Save(*box.ProgressWindow(), QStringLiteral("frmTBXMessage"));
    box.Cancel();
  }
}

}  // namespace
}  // namespace edittools
