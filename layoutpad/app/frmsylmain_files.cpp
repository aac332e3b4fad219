// The styles of the window: new, open, switch, save, save as, delete, listen, properties.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

#include "layoutpad/app/frmsylmain.h"
#include "layoutpad/app/frmsylproperties.h"
#include "layoutpad/app/stylelibrary.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/qt/scorepagewidget.h"

namespace layoutpad {

namespace {

constexpr int kCommonTime = 4 * 128 + 16;

// Restores the ready flag however the scope is left.
class NotReady {
public:
  explicit NotReady(bool& ready) : m_ready(ready), m_saved(ready) { m_ready = false; }
  ~NotReady() { m_ready = m_saved; }
  NotReady(const NotReady&) = delete;
  NotReady& operator=(const NotReady&) = delete;

private:
  bool& m_ready;
  bool m_saved;
};

}  // namespace

void frmSYLMain::NewStyle() {
  {
    NotReady quiet(m_ready);
    cmdDelete->setEnabled(false);
    m_currentName = QString::fromLatin1(kNewStyleName);
    lcStyle->SetRedraw(false);
    pctPage->SetScore(lcStyle.get());
    lcStyle->CreateDefault();
    if (auto staff = lcStyle->Staff(1)) staff->SetFlags(notecraft::stfPrintDynamics);
    lcStyle->AllGlobals().SetDftTimeVal(kCommonTime);
    // The default score's staff and instrument stay: a treble style as it is.
    cboType->setCurrentIndex(static_cast<int>(StyleType::Treble));
    ShowTypeTools();
    ClearHeader();
    ResizePage();
    lcStyle->SetRedraw(true);
    ReleaseTools();
  }
  FillDrumList();
}

bool frmSYLMain::OpenStyle(const QString& name) {
  {
    NotReady quiet(m_ready);
    pctPage->SetScore(nullptr);
    lcStyle->SetRedraw(false);
    // A style that cannot be read leaves the loaded one in place (the score says why): the
    // name stays with its own content, so a later save cannot write one style over another.
    const bool opened = lcStyle->OpenFile(StyleFilePath(m_folder, name).toStdString());
    if (opened) {
      m_currentName = name;
      cmdDelete->setEnabled(true);
      auto staff = lcStyle->Staff(1);
      cboType->setCurrentIndex(
          static_cast<int>(TypeForClef(staff ? staff->DefaultClef() : notecraft::clfTreble)));
      ShowTypeTools();
      if (staff) staff->SetFlags(notecraft::stfPrintDynamics);
      ClearHeader();
      ResizePage();
      ReleaseTools();
    }
    pctPage->SetScore(lcStyle.get());
    lcStyle->SetRedraw(true);
    if (!opened) return false;
  }
  FillDrumList();
  return true;
}

void frmSYLMain::ClearHeader() {
  lcStyle->SetTitle({});
  lcStyle->SetSubTitle({});
  lcStyle->SetComposer({});
  lcStyle->SetArrangedBy({});
  lcStyle->SetMetronome(false);
  lcStyle->SetMargins(notecraft::marTop, 0.25f);
  lcStyle->SetMargins(notecraft::marBottom, 0.0f);
  lcStyle->SetMargins(notecraft::marLeft, 0.25f);
  lcStyle->SetMargins(notecraft::marRight, 0.25f);
  lcStyle->SetStaffHeight(0.28f);
  lcStyle->SetSystemSpace(0.4f);
  lcStyle->SetChanged(false);
  cmdSave->setEnabled(false);
}

// The page takes the edit area's size, less a 30-twip border. The page size is how the
// style is shown, not part of it: resizing leaves the changed state as it was.
void frmSYLMain::ResizePage() {
  tmrResize->stop();
  NotReady quiet(m_ready);
  const bool changed = lcStyle->Changed();
  const double twips = pctPage->TwipsPerPixel();
  const float height = static_cast<float>((pctEdit->height() * twips - 60) / 1440.0);
  const float width = static_cast<float>((pctEdit->width() * twips - 60) / 1440.0);
  if (height > 0) lcStyle->SetPageHeight(height);
  if (width > 0) lcStyle->SetPageWidth(width);
  if (!changed) lcStyle->SetChanged(false);
}

void frmSYLMain::SelectLoadedEntry() {
  NotReady quiet(m_ready);
  const int index =
      m_currentName == QLatin1String(kNewStyleName)
          ? 0
          : cboName->findText(m_currentName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
  cboName->setCurrentIndex(std::max(0, index));
}

void frmSYLMain::ChooseStyle(int index) {
  if (!m_ready || index < 0) return;
  const QString clicked = cboName->itemText(index);
  if (cmdSave->isEnabled()) {
    const Answer answer = m_prompter->Ask(
        this, QStringLiteral("Save"), QStringLiteral("Save changes to '%1'?").arg(m_currentName));
    // A cancelled or failed save keeps the style and its changes on the page.
    if (answer == Answer::Cancel || (answer == Answer::Yes && !SaveStyle())) {
      SelectLoadedEntry();
      return;
    }
  }
  {
    NotReady quiet(m_ready);
    cboName->setCurrentIndex(index);
  }
  if (index == 0) {
    NewStyle();
  } else if (!OpenStyle(clicked)) {
    SelectLoadedEntry();
  }
}

bool frmSYLMain::SaveStyle() {
  if (m_currentName == QLatin1String(kNewStyleName)) return SaveStyleAs();
  return WriteStyle(StyleFilePath(m_folder, m_currentName));
}

bool frmSYLMain::WriteStyle(const QString& path) {
  if (!lcStyle->SaveFile(path.toStdString(), notecraft::fmtVeltrimond)) {
    m_prompter->Tell(
        this, QStringLiteral("Save"),
        QStringLiteral("The style could not be saved to %1.\n%2")
            .arg(QDir::toNativeSeparators(path), QString::fromStdString(lcStyle->LastFileError())));
    cmdSave->setEnabled(true);
    return false;
  }
  cmdSave->setEnabled(false);
  return true;
}

bool frmSYLMain::SaveStyleAs() {
  const std::optional<QString> chosen = m_prompter->SaveFileName(this, m_folder);
  if (!chosen) return false;
  QString name = StyleNameFromFile(*chosen);
  if (const QString problem = StyleNameProblem(name); !problem.isEmpty()) {
    m_prompter->Tell(this, QStringLiteral("Save As"), problem);
    return false;
  }
  QStringList listed;
  for (int i = 1; i < cboName->count(); ++i) listed.append(cboName->itemText(i));
  const int existing = FindStyleEntry(listed, name);
  // A name that differs from a listed style in letter case only is that style.
  if (existing >= 0) name = listed[existing];

  // Styles always go into the styles folder. Replacing another style there asks first,
  // unless the dialog already asked about that very file.
  const QString target = StyleFilePath(m_folder, name);
  const bool sameFile =
      QFileInfo(*chosen).absoluteFilePath() == QFileInfo(target).absoluteFilePath();
  if (QFileInfo::exists(target) && !sameFile &&
      name.compare(m_currentName, Qt::CaseInsensitive) != 0 &&
      m_prompter->Ask(this, QStringLiteral("Save As"),
                      QStringLiteral("The style '%1' already exists. Replace it?").arg(name)) !=
          Answer::Yes)
    return false;
  if (!WriteStyle(target)) return false;

  m_currentName = name;
  {
    NotReady quiet(m_ready);
    if (existing < 0) cboName->addItem(name);
    cboName->setCurrentIndex(existing >= 0 ? existing + 1 : cboName->count() - 1);
  }
  cmdSave->setEnabled(false);
  cmdDelete->setEnabled(true);
  return true;
}

void frmSYLMain::DeleteStyle() {
  if (m_currentName == QLatin1String(kNewStyleName)) return;
  if (m_prompter->Ask(this, QStringLiteral("Delete"),
                      QStringLiteral("Are you sure you want to delete '%1'?").arg(m_currentName)) !=
      Answer::Yes)
    return;
  const QString path = StyleFilePath(m_folder, m_currentName);
  QFile file(path);
  if (file.exists() && !file.remove()) {
    m_prompter->Tell(this, QStringLiteral("Delete"),
                     QStringLiteral("The style '%1' could not be deleted.\n%2")
                         .arg(m_currentName, file.errorString()));
    return;
  }
  {
    NotReady quiet(m_ready);
    const int index =
        cboName->findText(m_currentName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index > 0) cboName->removeItem(index);
    cboName->setCurrentIndex(0);
  }
  NewStyle();
}

void frmSYLMain::Listen() {
  if (!lcStyle->PlayScore(false, false, nullptr))
    m_prompter->Tell(this, QStringLiteral("Listen"),
                     QString::fromStdString(lcStyle->LastPlayError()));
}

void frmSYLMain::ShowProperties() {
  frmSYLProperties dialog(*lcStyle, CurrentType() == StyleType::Drums, this);
  if (dialog.exec() == QDialog::Accepted) dialog.Apply();
}

}  // namespace layoutpad
