#pragma once
// Pictures for a window's menus: every menu item whose caption starts like the tag of an
// image in an image list shows that image; a checked item without an image of its own shows
// the image tagged "&CK&"; a disabled item shows its image embossed in the palette's light and
// dark colours. Qt's menus do the rest of what such a control is for: mnemonics, shortcuts
// right-aligned after a tab, the system's menu font.
//
//   dropskin::CoolMenu menus;
//   menus.Init(&mainWindow, {{"&New", newIcon}, {"&Open", openIcon}, {"&CK&", checkIcon}});
//
// Menus added later (a child window's menus on the menu bar) and items added later (the
// recent-file list) get their pictures too, at the latest when their menu opens.

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QSet>
#include <QString>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace dropskin {

// One picture of the image list and the caption start it stands for ("&Open" for
// "&Open...").
struct MenuImage {
  QString tag;
  QIcon icon;
};
using ImageList = std::vector<MenuImage>;

// The tag of the image shown as a check mark.
inline constexpr char kCheckTag[] = "&CK&";
// Menu pictures are this many pixels square.
inline constexpr int kIconSize = 16;

// The position of the first image whose tag and the caption agree over the length of the
// shorter of the two, ignoring letter case ("&Open" matches "&Open..." and "&O"); images
// without a tag are skipped. -1 without an image list, for an empty caption, or when none
// matches.
int GetButtonIndex(const ImageList* images, const QString& caption);

// The disabled look of a picture: its drawn pixels (with colorEmbossed, every opaque pixel
// that is not white; without, only the dark ones) as one shape, in the palette's light colour
// one pixel right and down and in its dark colour on top. Transparent elsewhere.
QImage EmbossedImage(const QImage& image, const QPalette& palette, bool colorEmbossed = true);

class CoolMenu : public QObject {
  Q_OBJECT

public:
  explicit CoolMenu(QObject* parent = nullptr);
  ~CoolMenu() override;

  // Gives the menus of the window's menu bar their pictures. False, and nothing changes,
  // when the window has no menu bar. A second Init replaces the first. mainMenu is accepted
  // for callers written against the control's full interface: the menu bar's own titles
  // never show pictures.
  bool Init(QWidget* window, const ImageList& images, bool colorEmbossed = true,
            bool mainMenu = false);
  // Takes off every picture this object gave (the window's menus look as before Init).
  void Term();

  bool Installed() const { return !menuBar_.isNull(); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct Given {
    QPointer<QAction> action;
    qint64 iconKey = 0;  // the icon given, to leave alone an icon the program set since
    QMetaObject::Connection toggled;
  };

  void Hook(QMenu* menu);
  void Decorate(QMenu* menu);
  void Decorate(QAction* action);
  void ShowCheck(QAction* action);
  void Give(QAction* action, const QIcon& icon);
  QIcon WithDisabledLook(const QIcon& icon) const;

  QPointer<QMenuBar> menuBar_;
  ImageList images_;
  std::vector<QIcon> prepared_;  // the images with their disabled look, by position
  bool colorEmbossed_ = true;
  QSet<QMenu*> hooked_;
  QHash<QAction*, Given> given_;
  bool busy_ = false;  // our own setIcon must not decorate again
};

}  // namespace dropskin
