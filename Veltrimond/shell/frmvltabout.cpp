#include "Veltrimond/shell/frmvltabout.h"

#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QTextStream>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "Veltrimond/options/mididevicelist.h"
#include "Veltrimond/shell/artwork.h"
#include "platform/settingsstore.h"

#ifndef VELTRIMOND_VERSION
#define VELTRIMOND_VERSION ""
#endif

namespace veltrimond {

namespace {

const QString kMain = QStringLiteral("Main");

QString ProgramVersion() {
  const QString version = QCoreApplication::applicationVersion();
  return version.isEmpty() ? QStringLiteral(VELTRIMOND_VERSION) : version;
}

// "MemTotal" and the like from /proc/meminfo, in megabytes; empty when unreadable.
QString MemoryLine(const QString& key) {
  QFile file(QStringLiteral("/proc/meminfo"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QTextStream in(&file);
  for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
    if (!line.startsWith(key + QLatin1Char(':'))) continue;
    const QString kb = line.mid(key.size() + 1).trimmed().section(QLatin1Char(' '), 0, 0);
    bool ok = false;
    const qlonglong value = kb.toLongLong(&ok);
    if (ok) return QStringLiteral("%1 MB").arg(value / 1024);
  }
  return {};
}

// The sound cards the kernel knows, one name a line.
QStringList SoundCards() {
  QFile file(QStringLiteral("/proc/asound/cards"));
  QStringList cards;
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return cards;
  QTextStream in(&file);
  for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
    // " 0 [PCH            ]: HDA-Intel - HDA Intel PCH": the card's line, not its detail.
    const int colon = line.indexOf(QStringLiteral("]: "));
    if (colon > 0 && line.trimmed().front().isDigit()) cards << line.mid(colon + 3).trimmed();
  }
  return cards;
}

QString DevicesText() {
  QStringList lines;
  const QString total = MemoryLine(QStringLiteral("MemTotal"));
  const QString free = MemoryLine(QStringLiteral("MemAvailable"));
  if (!total.isEmpty()) lines << QObject::tr("Memory: %1 (%2 available)").arg(total, free);
  const QStringList cards = SoundCards();
  lines << QObject::tr("Sound cards:");
  if (cards.isEmpty()) lines << QStringLiteral("  (None)");
  for (const QString& card : cards) lines << QStringLiteral("  ") + card;
  const MidiDeviceLists midi = ListMidiDevices();
  lines << QObject::tr("MIDI output devices:");
  if (midi.Outputs.isEmpty()) lines << QStringLiteral("  (None)");
  for (const MidiDeviceEntry& e : midi.Outputs) lines << QStringLiteral("  ") + e.Caption;
  lines << QObject::tr("MIDI input devices:");
  if (midi.Inputs.isEmpty()) lines << QStringLiteral("  (None)");
  for (const MidiDeviceEntry& e : midi.Inputs) lines << QStringLiteral("  ") + e.Caption;
  return lines.join(QLatin1Char('\n'));
}

QLabel* Named(QLabel* label, const char* name) {
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

QString AboutVersionText(const QString& version, const QString& update) {
  return update.isEmpty() ? version : version + QStringLiteral(" (") + update + QLatin1Char(')');
}

QPoint PlaceInside(const QRect& owner, QPoint offset, QSize size, const QRect& screen) {
  int x = owner.left() + offset.x();
  int y = owner.top() + offset.y();
  if (x + size.width() > screen.right() + 1) x = screen.right() + 1 - size.width();
  if (y + size.height() > screen.bottom() + 1) y = screen.bottom() + 1 - size.height();
  return {std::max(x, screen.left()), std::max(y, screen.top())};
}

frmVLTAbout::frmVLTAbout(TwipsPerPixel tpp, const QString& installFolder, QWidget* parent)
    : QDialog(parent), m_tpp(tpp) {
  setObjectName(QStringLiteral("frmVLTAbout"));
  setWindowTitle(tr("About Veltrimond"));
  setModal(true);

  pctLogo = Named(new QLabel(this), "pctLogo");
  pctLogo->setPixmap(ProgramIcon(installFolder).pixmap(64, 64));
  lblProduct = Named(new QLabel(QStringLiteral("Veltrimond"), this), "lblProduct");
  QFont big = lblProduct->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  lblProduct->setFont(big);
  lblVersion = Named(new QLabel(this), "lblVersion");
  lblVersion->setText(
      AboutVersionText(ProgramVersion(), platform::ReadSetting(kMain, QStringLiteral("Update"))));
  lblCopyright = Named(
      new QLabel(tr("Copyright (C) Quorvane Software Inc. All rights reserved."), this),
      "lblCopyright");
  lblBuild = Named(new QLabel(this), "lblBuild");
  lblBuild->setText(QStringLiteral("Build: ") +
                    platform::ReadSetting(kMain, QStringLiteral("Build"), QStringLiteral("1101")));
  lblInfo = Named(new QLabel(tr("Warning: this program is protected by copyright law and "
                                "international treaties. Copying or distributing it, or any "
                                "part of it, without permission may be prosecuted."),
                             this),
                  "lblInfo");
  lblInfo->setWordWrap(true);
  lblInfo->setFrameShape(QFrame::StyledPanel);
  lblInfo->setMinimumWidth(320);
  cmdInfo = new QPushButton(tr("System Info"), this);
  cmdInfo->setObjectName(QStringLiteral("cmdInfo"));
  cmdOk = new QPushButton(tr("Ok"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);

  auto* text = new QVBoxLayout;
  for (QLabel* label : {lblProduct, lblVersion, lblCopyright, lblBuild}) text->addWidget(label);
  text->addSpacing(8);
  text->addWidget(lblInfo);
  auto* top = new QHBoxLayout;
  top->addWidget(pctLogo, 0, Qt::AlignTop);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdInfo);
  buttons->addWidget(cmdOk);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);

  connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdInfo, &QPushButton::clicked, this, &frmVLTAbout::ShowSystemInfo);
}

void frmVLTAbout::ShowSystemInfo() {
  frmVLTSystem system(m_tpp, this);
  system.adjustSize();
  const QPoint offset(static_cast<int>(std::lround(900 / m_tpp.X)),
                      static_cast<int>(std::lround(1200 / m_tpp.Y)));
  const QScreen* screen = this->screen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  system.move(PlaceInside(frameGeometry(), offset, system.frameGeometry().size(), area));
  system.exec();
}

frmVLTSystem::frmVLTSystem(TwipsPerPixel tpp, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmVLTSystem"));
  setWindowTitle(tr("System Information"));
  setModal(true);

  // The design texts stay where a value cannot be read.
  lblOSPlatform = Named(new QLabel(tr("OS Platform"), this), "lblOSPlatform");
  lblOSVersion = Named(new QLabel(QStringLiteral("####"), this), "lblOSVersion");
  lblOSBuild = Named(new QLabel(QStringLiteral("####"), this), "lblOSBuild");
  const QString platformName = QSysInfo::prettyProductName();
  if (!platformName.isEmpty()) lblOSPlatform->setText(platformName);
  const QString version = QSysInfo::productVersion();
  if (!version.isEmpty() && version != QLatin1String("unknown")) lblOSVersion->setText(version);
  const QString kernel = QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion();
  if (!QSysInfo::kernelVersion().isEmpty()) lblOSBuild->setText(kernel.trimmed());

  auto* fmeDesktop = new QGroupBox(tr("Desktop Workspace"), this);
  fmeDesktop->setObjectName(QStringLiteral("fmeDesktop"));
  lblTop = Named(new QLabel(QStringLiteral("###"), fmeDesktop), "lblTop");
  lblLeft = Named(new QLabel(QStringLiteral("###"), fmeDesktop), "lblLeft");
  lblHeight = Named(new QLabel(QStringLiteral("###"), fmeDesktop), "lblHeight");
  lblWidth = Named(new QLabel(QStringLiteral("###"), fmeDesktop), "lblWidth");
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
    // The work area: the screen less the desktop's panels, in twips.
    const QRect work = screen->availableGeometry();
    auto twips = [](int pixels, double perPixel) {
      return QString::number(std::lround(pixels * perPixel));
    };
    lblTop->setText(twips(work.top(), tpp.Y));
    lblLeft->setText(twips(work.left(), tpp.X));
    lblHeight->setText(twips(work.height(), tpp.Y));
    lblWidth->setText(twips(work.width(), tpp.X));
  }
  auto* desk = new QGridLayout(fmeDesktop);
  const std::pair<QString, QLabel*> deskRows[] = {
      {tr("Top:"), lblTop}, {tr("Left:"), lblLeft}, {tr("Height:"), lblHeight},
      {tr("Width:"), lblWidth}};
  int row = 0;
  for (const auto& [caption, label] : deskRows) {
    desk->addWidget(new QLabel(caption, fmeDesktop), row, 0);
    desk->addWidget(label, row++, 1);
  }

  txtDevices = new QPlainTextEdit(DevicesText(), this);
  txtDevices->setObjectName(QStringLiteral("txtDevices"));
  txtDevices->setReadOnly(true);
  txtDevices->setMinimumSize(360, 140);

  cmdOk = new QPushButton(tr("Ok"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

  auto* os = new QGridLayout;
  const std::pair<QString, QLabel*> osRows[] = {
      {tr("Platform:"), lblOSPlatform}, {tr("Version:"), lblOSVersion}, {tr("Build:"), lblOSBuild}};
  row = 0;
  for (const auto& [caption, label] : osRows) {
    os->addWidget(new QLabel(caption, this), row, 0);
    os->addWidget(label, row++, 1);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOk);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(os);
  layout->addWidget(fmeDesktop);
  layout->addWidget(txtDevices, 1);
  layout->addLayout(buttons);
}

}  // namespace veltrimond
