#include "notecraft/dialogs/ctxdialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "notecraft/core/common.h"
#include "notecraft/core/numeric.h"
#include "notecraft/dialogs/numericfield.h"

namespace notecraft::dialogs {

namespace {

Beeper& BeeperHook() {
  static Beeper beeper;
  return beeper;
}

FontPicker& FontPickerHook() {
  static FontPicker picker;
  return picker;
}

}  // namespace

void SetBeeper(Beeper beeper) {
  BeeperHook() = std::move(beeper);
}

void Beep() {
  if (BeeperHook())
    BeeperHook()();
  else
    QApplication::beep();
}

void SetFontPicker(FontPicker picker) {
  FontPickerHook() = std::move(picker);
}

std::optional<QFont> PickFont(const QFont& initial, QWidget* parent) {
  if (FontPickerHook()) return FontPickerHook()(initial, parent);
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent, {}, QFontDialog::ScalableFonts);
  if (!ok) return std::nullopt;
  return font;
}

CtxDialog::CtxDialog(QWidget* parent) : QDialog(parent) {
  setModal(true);
  setAttribute(Qt::WA_DeleteOnClose, false);  // callers read prompts after they close
  TheCommon().DialogResult = 5;
}

void CtxDialog::CreateButtons(bool withApply) {
  cmdOk = new QPushButton(tr("Ok"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(tr("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel->setAutoDefault(false);
  connect(cmdOk, &QPushButton::clicked, this, [this] { OnOk(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { OnCancel(); });
  if (withApply) {
    cmdApply = new QPushButton(tr("&Apply"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setAutoDefault(false);
    cmdApply->setEnabled(false);
    connect(cmdApply, &QPushButton::clicked, this, [this] { OnApply(); });
  }
}

void CtxDialog::PlaceAt(std::optional<int> leftTwips, std::optional<int> topTwips) {
  const Common& common = TheCommon();
  const int tppX = std::max(1, common.TwipsPerPixelX);
  const int tppY = std::max(1, common.TwipsPerPixelY);
  adjustSize();
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  const QSize size = frameGeometry().size().expandedTo(sizeHint());
  int x = 0, y = 0;
  if (leftTwips) {
    x = *leftTwips / tppX;
  } else {
    const auto tw = RoundHalfEven((area.width() - size.width()) * tppX * 0.5);
    x = area.x() + SnapX(static_cast<int>(tw)) / tppX;
  }
  if (topTwips) {
    y = *topTwips / tppY;
  } else {
    const auto tw = RoundHalfEven((area.height() - size.height()) * tppY * 0.42);
    y = area.y() + SnapY(static_cast<int>(tw)) / tppY;
  }
  move(x, y);
}

void CtxDialog::reject() {
  OnCancel();
}

void CtxDialog::OnCancel() {
  Finish(2);
}

void CtxDialog::Finish(int code) {
  if (code != 5) TheCommon().DialogResult = code;
  done(code);
}

void CtxDialog::closeEvent(QCloseEvent* event) {
  // Closed by the window frame: the result stays at 5 and the caller does nothing.
  if (isVisible()) done(5);
  event->accept();
}

void CtxDialog::MakeNumberBox(QLineEdit* box, int maxLength, bool filtered,
                              std::function<void()> validate) {
  if (maxLength > 0) box->setMaxLength(maxLength);
  box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_numberBoxes.push_back(NumberBox{box, filtered, std::move(validate)});
  box->installEventFilter(this);
}

void CtxDialog::SelectAllOnKeyboardFocus(QLineEdit* box) {
  box->installEventFilter(this);
}

const CtxDialog::NumberBox* CtxDialog::Find(QObject* box) const {
  for (const auto& b : m_numberBoxes)
    if (b.box == box) return &b;
  return nullptr;
}

void CtxDialog::ValidateFocusedBox() {
  if (const NumberBox* b = Find(focusWidget()); b && b->validate) b->validate();
}

bool CtxDialog::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (!box) return QDialog::eventFilter(watched, event);
  const NumberBox* number = Find(watched);
  switch (event->type()) {
    case QEvent::FocusIn: {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::MouseFocusReason) QTimer::singleShot(0, box, [box] { box->selectAll(); });
      break;
    }
    case QEvent::FocusOut:
      if (number && number->validate) number->validate();
      break;
    case QEvent::KeyPress: {
      if (!number) break;
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        // Validate, then let the dialog press its default button.
        if (number->validate) number->validate();
        break;
      }
      if (!number->filtered || key->text().isEmpty()) break;
      if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) break;
      const QString text = key->text();
      const char32_t ch = text.at(0).unicode();
      if (text.size() == 1 && IsNumberBoxKey(ch)) break;
      if (ch < 0x20 && ch != U'\b') break;  // Tab, Escape and other controls pass on
      Beep();
      return true;
    }
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace notecraft::dialogs
