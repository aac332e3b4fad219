#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include "dropskin/coolmenu.h"

namespace dropskin {
namespace {

QIcon Swatch(QColor color) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.fillRect(2, 2, 12, 12, color);
  p.end();
  return QIcon(pixmap);
}

// The colour in the middle of an action's picture, as shown in the given mode.
QColor Shown(const QAction* action, QIcon::Mode mode = QIcon::Normal) {
  if (action->icon().isNull()) return QColor();
  return action->icon()
      .pixmap(QSize(kIconSize, kIconSize), 1.0, mode)
      .toImage()
      .pixelColor(kIconSize / 2, kIconSize / 2);
}

TEST(GetButtonIndexTest, CaptionsMatchTagsOverTheShorterLength) {
  const ImageList images{{"&New", {}}, {"", {}}, {"&Open", {}}, {"&CK&", {}}, {"Save &As", {}}};
  const struct {
    const char* caption;
    int index;
  } cases[] = {
      {"&New\tCtrl+N", 0}, {"&Open...", 2},    {"&open...", 2}, {"&O", 2},   {"&", 0},
      {"&CK&", 3},         {"save &as...", 4}, {"&Save", -1},   {"New", -1}, {"", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(GetButtonIndex(&images, c.caption), c.index) << c.caption;
  EXPECT_EQ(GetButtonIndex(nullptr, "&New"), -1);
  const ImageList untagged{{"", {}}};
  EXPECT_EQ(GetButtonIndex(&untagged, "&New"), -1);
}

TEST(EmbossedImageTest, DrawnPixelsBecomeLightBelowRightAndDarkOnTop) {
  QImage image(4, 4, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  image.setPixelColor(1, 1, Qt::black);
  image.setPixelColor(0, 3, QColor(230, 230, 0));  // a light colour: only in colour mode
  image.setPixelColor(2, 0, Qt::white);            // white is the background
  image.setPixelColor(3, 3, QColor(0, 0, 0, 60));  // nearly transparent
  QPalette palette;
  palette.setColor(QPalette::Light, QColor(250, 250, 250));
  palette.setColor(QPalette::Dark, QColor(90, 90, 90));

  const QImage colour = EmbossedImage(image, palette, true);
  EXPECT_EQ(colour.pixelColor(1, 1), QColor(90, 90, 90));
  EXPECT_EQ(colour.pixelColor(2, 2), QColor(250, 250, 250));
  EXPECT_EQ(colour.pixelColor(0, 3), QColor(90, 90, 90));
  EXPECT_EQ(colour.pixelColor(2, 0).alpha(), 0);
  EXPECT_EQ(colour.pixelColor(3, 3).alpha(), 0);
  EXPECT_EQ(colour.pixelColor(0, 0).alpha(), 0);

  const QImage mono = EmbossedImage(image, palette, false);
  EXPECT_EQ(mono.pixelColor(1, 1), QColor(90, 90, 90));
  EXPECT_EQ(mono.pixelColor(0, 3).alpha(), 0);  // too light for the monochrome mask
}

class CoolMenuTest : public ::testing::Test {
protected:
  CoolMenuTest() {
    file_ = window_.menuBar()->addMenu("&File");
    newAction_ = file_->addAction("&New\tCtrl+N");
    openAction_ = file_->addAction("&Open...");
    file_->addSeparator();
    exitAction_ = file_->addAction("E&xit");
    view_ = window_.menuBar()->addMenu("&View");
    toolBar_ = view_->addAction("&Tool Bar");
    toolBar_->setCheckable(true);
    toolBar_->setChecked(true);
    statusBar_ = view_->addAction("&Status Bar");
    statusBar_->setCheckable(true);
  }

  const ImageList images_{
      {"&New", Swatch(Qt::red)}, {"&Open", Swatch(Qt::green)}, {"&CK&", Swatch(Qt::blue)}};
  QMainWindow window_;
  QMenu* file_;
  QMenu* view_;
  QAction* newAction_;
  QAction* openAction_;
  QAction* exitAction_;
  QAction* toolBar_;
  QAction* statusBar_;
};

TEST_F(CoolMenuTest, ItemsGetTheirPicturesAndTermTakesThemOff) {
  openAction_->setEnabled(false);
  CoolMenu menus;
  ASSERT_TRUE(menus.Init(&window_, images_));
  EXPECT_EQ(Shown(newAction_), QColor(Qt::red));
  EXPECT_EQ(Shown(openAction_), QColor(Qt::green));
  EXPECT_TRUE(exitAction_->icon().isNull());
  EXPECT_TRUE(file_->menuAction()->icon().isNull());  // menu bar titles stay text
  // The check mark shows while checked, and follows the state.
  EXPECT_EQ(Shown(toolBar_), QColor(Qt::blue));
  EXPECT_TRUE(statusBar_->icon().isNull());
  statusBar_->setChecked(true);
  toolBar_->setChecked(false);
  EXPECT_EQ(Shown(statusBar_), QColor(Qt::blue));
  EXPECT_TRUE(toolBar_->icon().isNull());
  // A disabled item shows the embossed picture: the palette's dark colour, not green.
  EXPECT_EQ(Shown(openAction_, QIcon::Disabled).rgb(), QPalette().color(QPalette::Dark).rgb());

  menus.Term();
  for (QAction* action : {newAction_, openAction_, toolBar_, statusBar_})
    EXPECT_TRUE(action->icon().isNull()) << action->text().toStdString();
  EXPECT_FALSE(menus.Installed());
  statusBar_->setChecked(false);
  statusBar_->setChecked(true);
  EXPECT_TRUE(statusBar_->icon().isNull());
}

TEST_F(CoolMenuTest, LaterItemsAndMenusGetPicturesToo) {
  CoolMenu menus;
  ASSERT_TRUE(menus.Init(&window_, images_));
  // The recent-file list is filled after start-up; a child window brings its own menus.
  QAction* recent = file_->addAction("&1 Nocturne.sco");
  QAction* reopened = file_->addAction("&Open Recent");
  QMenu* child = window_.menuBar()->addMenu("&Edit");
  QAction* childNew = child->addAction("&New Staff");
  QMenu* sub = child->addMenu("&More");
  QAction* subOpen = sub->addAction("&Open Part");
  EXPECT_TRUE(recent->icon().isNull());
  EXPECT_EQ(Shown(reopened), QColor(Qt::green));
  EXPECT_EQ(Shown(childNew), QColor(Qt::red));
  EXPECT_EQ(Shown(subOpen), QColor(Qt::green));
  // A renamed item changes its picture; the program's own icon is never replaced or removed.
  reopened->setText("&New Window");
  EXPECT_EQ(Shown(reopened), QColor(Qt::red));
  const QIcon own = Swatch(Qt::yellow);
  exitAction_->setIcon(own);
  newAction_->setIcon(own);
  menus.Term();
  EXPECT_EQ(Shown(exitAction_), QColor(Qt::yellow));
  EXPECT_EQ(Shown(newAction_), QColor(Qt::yellow));
  EXPECT_TRUE(reopened->icon().isNull());
}

TEST_F(CoolMenuTest, SecondInitReplacesTheFirst) {
  CoolMenu menus;
  ASSERT_TRUE(menus.Init(&window_, images_));
  ASSERT_TRUE(menus.Init(&window_, {{"E&xit", Swatch(Qt::magenta)}}));
  EXPECT_TRUE(newAction_->icon().isNull());
  EXPECT_TRUE(toolBar_->icon().isNull());  // no check image in this list: Qt's own mark
  EXPECT_EQ(Shown(exitAction_), QColor(Qt::magenta));

  QWidget noMenus;
  EXPECT_FALSE(menus.Init(&noMenus, images_));
  EXPECT_EQ(Shown(exitAction_), QColor(Qt::magenta));  // a failed Init changes nothing
  EXPECT_FALSE(menus.Init(nullptr, images_));
}

TEST_F(CoolMenuTest, ActionsDeletedWhileInstalledAreForgotten) {
  auto menus = std::make_unique<CoolMenu>();
  ASSERT_TRUE(menus->Init(&window_, images_));
  delete newAction_;
  delete view_;  // with its checkable items
  file_->addAction("&New")->setIcon(QIcon());
  menus.reset();  // Term on the remaining items only
  EXPECT_TRUE(openAction_->icon().isNull());
}

TEST_F(CoolMenuTest, OpenMenuShowsPictureCaptionAndShortcut) {
  openAction_->setEnabled(false);
  CoolMenu menus;
  ASSERT_TRUE(menus.Init(&window_, images_));
  window_.show();
  file_->popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(file_));
  const QImage shot = file_->grab().toImage();
  shot.save(QString(DROPSKIN_TEST_OUTPUT) + "/file-menu.png");
  const QRect row = file_->actionGeometry(newAction_);
  auto hasInk = [&](int from, int to, auto test) {
    for (int x = from; x < to; ++x)
      for (int y = row.top(); y <= row.bottom(); ++y)
        if (test(shot.pixelColor(x, y))) return true;
    return false;
  };
  const int w = row.width();
  // The picture in the left cell, the caption after it, "Ctrl+N" against the right edge.
  EXPECT_TRUE(hasInk(row.left(), row.left() + 30, [](QColor c) { return c == QColor(Qt::red); }));
  auto dark = [](QColor c) { return c.lightness() < 100; };
  EXPECT_TRUE(hasInk(row.left() + 25, row.left() + w / 2, dark));
  EXPECT_TRUE(hasInk(row.right() - w / 3, row.right(), dark));
  // The disabled item's picture is the embossed one, not its colour.
  const QRect open = file_->actionGeometry(openAction_);
  bool green = false;
  for (int x = open.left(); x < open.left() + 30; ++x)
    for (int y = open.top(); y <= open.bottom(); ++y)
      green = green || shot.pixelColor(x, y) == Qt::green;
  EXPECT_FALSE(green);
  file_->close();

  view_->popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view_));
  view_->grab().save(QString(DROPSKIN_TEST_OUTPUT) + "/view-menu.png");
  view_->close();
}

}  // namespace
}  // namespace dropskin
