#pragma once
// The About box ("About Veltrimond") and the System Information window it opens.

#include <QDialog>
#include <QRect>

#include "Veltrimond/core/framegeometry.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace veltrimond {

// The version line: the program's version, then the installed update in parentheses.
QString AboutVersionText(const QString& version, const QString& update);
// Where a window of size goes: owner's top left plus offset, moved back inside the right and
// bottom edges of screen (and never above or left of it).
QPoint PlaceInside(const QRect& owner, QPoint offset, QSize size, const QRect& screen);

class frmVLTAbout final : public QDialog {
  Q_OBJECT

public:
  explicit frmVLTAbout(TwipsPerPixel tpp, const QString& installFolder, QWidget* parent = nullptr);

  QLabel* pctLogo = nullptr;
  QLabel* lblProduct = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblCopyright = nullptr;
  QLabel* lblBuild = nullptr;
  QLabel* lblInfo = nullptr;
  QPushButton* cmdInfo = nullptr;
  QPushButton* cmdOk = nullptr;

  // cmdInfo: the System Information window, 900 by 1200 twips right of and below this box.
  void ShowSystemInfo();

private:
  TwipsPerPixel m_tpp;
};

class frmVLTSystem final : public QDialog {
  Q_OBJECT

public:
  explicit frmVLTSystem(TwipsPerPixel tpp, QWidget* parent = nullptr);

  QLabel* lblOSPlatform = nullptr;
  QLabel* lblOSVersion = nullptr;
  QLabel* lblOSBuild = nullptr;
  QLabel* lblTop = nullptr;
  QLabel* lblLeft = nullptr;
  QLabel* lblHeight = nullptr;
  QLabel* lblWidth = nullptr;
  QPlainTextEdit* txtDevices = nullptr;
  QPushButton* cmdOk = nullptr;
};

}  // namespace veltrimond
