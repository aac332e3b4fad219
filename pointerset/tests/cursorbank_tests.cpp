#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "pointerset/curfile.h"
#include "pointerset/cursorbank.h"

namespace pointerset {
namespace {

// Two cursor files told apart by colour and hotspot.
class CursorBankTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    WriteFile("a.cur", Qt::red, {3, 4});
    WriteFile("b.cur", Qt::blue, {10, 2});
  }

  void WriteFile(const QString& name, QColor color, QPoint hotspot) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(color);
    QFile file(dir_.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(WriteCursor(image, hotspot));
  }

  QString Path(const QString& name) const { return dir_.filePath(name); }

  // Which of the test cursors a widget shows: its colour, or "none" without one of its own.
  static QString Shows(const QWidget& widget) {
    if (!widget.testAttribute(Qt::WA_SetCursor)) return "none";
    const QCursor cursor = widget.cursor();
    if (cursor.shape() != Qt::BitmapCursor) return QString("shape %1").arg(cursor.shape());
    const QColor color = cursor.pixmap().toImage().pixelColor(0, 0);
    return color == Qt::red ? "a" : color == Qt::blue ? "b" : color.name();
  }

  QTemporaryDir dir_;
  CursorBank bank_;
};

TEST_F(CursorBankTest, EachFileLoadsOnceWhateverItsLetterCase) {
  const int a = bank_.CreateStoredCursor(Path("a.cur"));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(bank_.CreateStoredCursor(Path("a.cur").toUpper()), a);  // not read again
  EXPECT_EQ(bank_.Count(), 1);
  EXPECT_EQ(bank_.CreateStoredCursor(Path("b.cur")), 2);
  EXPECT_EQ(bank_.Cursor(a).hotSpot(), QPoint(3, 4));
  EXPECT_EQ(bank_.Cursor(2).hotSpot(), QPoint(10, 2));
  EXPECT_EQ(bank_.Cursor(3).shape(), Qt::ArrowCursor);

  QFile(Path("broken.cur")).open(QIODevice::WriteOnly);
  EXPECT_EQ(bank_.CreateStoredCursor(Path("broken.cur")), 0);
  EXPECT_EQ(bank_.CreateStoredCursor(Path("missing.cur")), 0);
  EXPECT_EQ(bank_.Count(), 2);
}

TEST_F(CursorBankTest, UnknownNumbersChangeNothing) {
  const int a = bank_.CreateStoredCursor(Path("a.cur"));
  QWidget window;
  QWidget widget(&window);
  for (int id : {0, -1, a + 1}) EXPECT_FALSE(bank_.ActivateStoredCursor(id, &widget)) << id;
  EXPECT_FALSE(bank_.ActivateStoredCursor(a, nullptr));
  EXPECT_EQ(Shows(widget), "none");
  bank_.RestoreLastCursor();
  EXPECT_EQ(Shows(widget), "none");
}

TEST_F(CursorBankTest, RestorePutsBackWhatTheLastActivationReplacedOnce) {
  const int a = bank_.CreateStoredCursor(Path("a.cur"));
  const int b = bank_.CreateStoredCursor(Path("b.cur"));
  // Child widgets, as a score page is: without a cursor of its own a child shows its parent's.
  QWidget window;
  QWidget plain(&window), crossed(&window), other(&window);
  crossed.setCursor(Qt::CrossCursor);

  ASSERT_TRUE(bank_.ActivateStoredCursor(a, &plain));
  EXPECT_EQ(Shows(plain), "a");
  EXPECT_EQ(plain.cursor().hotSpot(), QPoint(3, 4));
  bank_.RestoreLastCursor();
  EXPECT_EQ(Shows(plain), "none");  // the parent's cursor shows again
  plain.setCursor(Qt::WaitCursor);
  bank_.RestoreLastCursor();  // nothing left to undo
  EXPECT_EQ(Shows(plain), QString("shape %1").arg(Qt::WaitCursor));

  bank_.ActivateStoredCursor(a, &crossed);
  bank_.ActivateStoredCursor(b, &crossed);
  EXPECT_EQ(Shows(crossed), "b");
  bank_.RestoreLastCursor();
  EXPECT_EQ(Shows(crossed), "a");  // one step back only
  bank_.RestoreLastCursor();
  EXPECT_EQ(Shows(crossed), "a");

  // Another widget's activation replaces the one to undo.
  bank_.ActivateStoredCursor(b, &crossed);
  bank_.ActivateStoredCursor(a, &other);
  bank_.RestoreLastCursor();
  EXPECT_EQ(Shows(other), "none");
  EXPECT_EQ(Shows(crossed), "b");
}

TEST_F(CursorBankTest, RestoreAfterTheWidgetIsGoneDoesNothing) {
  const int a = bank_.CreateStoredCursor(Path("a.cur"));
  auto widget = std::make_unique<QWidget>();
  bank_.ActivateStoredCursor(a, widget.get());
  widget.reset();
  bank_.RestoreLastCursor();
  QWidget next;
  bank_.RestoreLastCursor();
  EXPECT_EQ(Shows(next), "none");
}

}  // namespace
}  // namespace pointerset
