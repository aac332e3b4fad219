#include "dropskin/coolmenu.h"

#include <QActionEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>

namespace dropskin {

int GetButtonIndex(const ImageList* images, const QString& caption) {
  // An empty caption (a separator) would match the first tag over no characters at all.
  if (!images || caption.isEmpty()) return -1;
  for (std::size_t i = 0; i < images->size(); ++i) {
    const QString& tag = (*images)[i].tag;
    if (tag.isEmpty()) continue;
    const qsizetype n = qMin(tag.size(), caption.size());
    if (QStringView(caption).left(n).compare(QStringView(tag).left(n), Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  }
  return -1;
}

QImage EmbossedImage(const QImage& image, const QPalette& palette, bool colorEmbossed) {
  const QImage source = image.convertToFormat(QImage::Format_ARGB32);
  QImage out(source.size(), QImage::Format_ARGB32);
  out.setDevicePixelRatio(image.devicePixelRatio());
  out.fill(Qt::transparent);
  // One pixel of the picture as it shows, so one device pixel per logical pixel.
  const int offset = qMax(1, qRound(image.devicePixelRatio()));
  auto inMask = [&](int x, int y) {
    const QRgb p = source.pixel(x, y);
    if (qAlpha(p) < 128) return false;
    if (colorEmbossed) return (p & 0xFFFFFF) != 0xFFFFFF;
    return qGray(p) < 128;
  };
  const QRgb light = palette.color(QPalette::Light).rgba();
  const QRgb dark = palette.color(QPalette::Dark).rgba();
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x)
      if (inMask(x, y) && x + offset < out.width() && y + offset < out.height())
        out.setPixel(x + offset, y + offset, light);
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x)
      if (inMask(x, y)) out.setPixel(x, y, dark);
  return out;
}

CoolMenu::CoolMenu(QObject* parent) : QObject(parent) {}

CoolMenu::~CoolMenu() {
  Term();
}

bool CoolMenu::Init(QWidget* window, const ImageList& images, bool colorEmbossed, bool mainMenu) {
  Q_UNUSED(mainMenu);
  QMenuBar* bar = nullptr;
  if (auto* main = qobject_cast<QMainWindow*>(window))
    bar = qobject_cast<QMenuBar*>(main->menuWidget());
  else if (window)
    bar = qobject_cast<QMenuBar*>(window) ? qobject_cast<QMenuBar*>(window)
                                          : window->findChild<QMenuBar*>();
  if (!bar) return false;

  Term();
  menuBar_ = bar;
  images_ = images;
  colorEmbossed_ = colorEmbossed;
  prepared_.clear();
  for (const MenuImage& image : images_) prepared_.push_back(WithDisabledLook(image.icon));
  bar->installEventFilter(this);
  for (QAction* action : bar->actions())
    if (QMenu* menu = action->menu()) Hook(menu);
  return true;
}

void CoolMenu::Term() {
  for (auto it = given_.begin(); it != given_.end(); ++it) {
    disconnect(it->toggled);
    QAction* action = it->action;
    if (action && action->icon().cacheKey() == it->iconKey && !action->icon().isNull()) {
      busy_ = true;
      action->setIcon(QIcon());
      busy_ = false;
    }
    if (action) disconnect(action, &QObject::destroyed, this, nullptr);
  }
  given_.clear();
  for (QMenu* menu : std::as_const(hooked_)) {
    menu->removeEventFilter(this);
    disconnect(menu, nullptr, this, nullptr);
  }
  hooked_.clear();
  if (menuBar_) menuBar_->removeEventFilter(this);
  menuBar_ = nullptr;
}

bool CoolMenu::eventFilter(QObject* watched, QEvent* event) {
  if (!busy_ && (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionChanged)) {
    QAction* action = static_cast<QActionEvent*>(event)->action();
    if (watched == menuBar_) {
      if (QMenu* menu = action->menu()) Hook(menu);
    } else {
      Decorate(action);
    }
  }
  return QObject::eventFilter(watched, event);
}

void CoolMenu::Hook(QMenu* menu) {
  if (hooked_.contains(menu)) return;
  hooked_.insert(menu);
  menu->installEventFilter(this);
  // The menu's items may have changed since (texts, items added before Init of a submenu).
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { Decorate(menu); });
  connect(menu, &QObject::destroyed, this, [this, menu] { hooked_.remove(menu); });
  Decorate(menu);
}

void CoolMenu::Decorate(QMenu* menu) {
  for (QAction* action : menu->actions()) Decorate(action);
}

void CoolMenu::Decorate(QAction* action) {
  if (busy_ || action->isSeparator()) return;
  if (QMenu* sub = action->menu()) Hook(sub);
  const int index = GetButtonIndex(&images_, action->text());

  if (auto it = given_.find(action); it != given_.end()) {
    if (action->icon().cacheKey() != it->iconKey) {
      // The program gave the item an icon of its own since: it stays.
      disconnect(it->toggled);
      given_.erase(it);
      return;
    }
    if (it->toggled) {  // a check mark: follows the checked state
      ShowCheck(action);
      return;
    }
    // A renamed item: the picture of its new caption, if any.
    if (index >= 0) {
      Give(action, prepared_[static_cast<std::size_t>(index)]);
    } else {
      busy_ = true;
      action->setIcon(QIcon());
      busy_ = false;
      given_.erase(given_.find(action));
    }
    return;
  }

  if (!action->icon().isNull() || action->text().isEmpty()) return;
  if (index >= 0) {
    Give(action, prepared_[static_cast<std::size_t>(index)]);
  } else if (action->isCheckable() && GetButtonIndex(&images_, kCheckTag) >= 0) {
    Given& given = given_[action];
    given.action = action;
    given.toggled = connect(action, &QAction::toggled, this, [this, action] { ShowCheck(action); });
    connect(action, &QObject::destroyed, this, [this, action] { given_.remove(action); });
    ShowCheck(action);
  }
}

void CoolMenu::ShowCheck(QAction* action) {
  auto it = given_.find(action);
  if (it == given_.end()) return;
  const int check = GetButtonIndex(&images_, kCheckTag);
  const QIcon icon =
      action->isChecked() && check >= 0 ? prepared_[static_cast<std::size_t>(check)] : QIcon();
  busy_ = true;
  action->setIcon(icon);
  busy_ = false;
  it->iconKey = action->icon().cacheKey();
}

void CoolMenu::Give(QAction* action, const QIcon& icon) {
  busy_ = true;
  action->setIcon(icon);
  busy_ = false;
  const bool known = given_.contains(action);
  Given& given = given_[action];
  given.action = action;
  given.iconKey = action->icon().cacheKey();
  if (!known) connect(action, &QObject::destroyed, this, [this, action] { given_.remove(action); });
}

QIcon CoolMenu::WithDisabledLook(const QIcon& icon) const {
  if (icon.isNull()) return icon;
  QIcon result;
  const QPalette palette;
  for (qreal ratio : {1.0, 2.0}) {
    const QPixmap normal = icon.pixmap(QSize(kIconSize, kIconSize), ratio);
    if (normal.isNull()) continue;
    result.addPixmap(normal, QIcon::Normal);
    result.addPixmap(QPixmap::fromImage(EmbossedImage(normal.toImage(), palette, colorEmbossed_)),
                     QIcon::Disabled);
  }
  return result;
}

}  // namespace dropskin
