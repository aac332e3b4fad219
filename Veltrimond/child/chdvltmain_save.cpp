#include "Veltrimond/child/chdvltmain_save.h"

#include <QFileDialog>
#include <QFileInfo>

#include "Veltrimond/core/openedfile.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "platform/recentfiles.h"
#include "platform/settingsstore.h"

namespace veltrimond {

namespace {

const char* const kSuffixes[] = {"sco", "mid", ""};

QString FromNative(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

QString SaveAsFilters() {
  return QStringLiteral("Veltrimond Files (*.sco);;MIDI files (*.mid *.midi);;All Files (*)");
}

std::optional<SaveAsChoice> RunSaveAsDialog(QWidget* parent, const QString& folder,
                                            int startFilter) {
  QFileDialog dialog(parent, QObject::tr("Save As"), folder, SaveAsFilters());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QStringList filters = dialog.nameFilters();
  const int start = (startFilter >= 1 && startFilter <= 3) ? startFilter : 1;
  dialog.selectNameFilter(filters.value(start - 1));
  // The dialog adds the suffix before it checks for an existing file, so "song" typed on
  // the score filter is confirmed as the "song.sco" it replaces.
  dialog.setDefaultSuffix(QString::fromLatin1(kSuffixes[start - 1]));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
    const qsizetype index = filters.indexOf(filter);
    if (index >= 0) dialog.setDefaultSuffix(QString::fromLatin1(kSuffixes[index]));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return SaveAsChoice{dialog.selectedFiles().first(),
                      static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

ScoreSaving::ScoreSaving(notecraft::Score& score, platform::RecentFiles& history)
    : m_score(score), m_history(history) {}

ScoreSaving::Outcome ScoreSaving::Save(bool untitled) {
  // A score opened but since lost its path (never expected) also needs a name first.
  if (untitled || m_score.FileName().empty()) return SaveAs();
  if (m_score.SaveFile()) return Outcome::Saved;
  Fail(FromNative(m_score.FileName()));
  return Outcome::Failed;
}

ScoreSaving::Outcome ScoreSaving::SaveAs() {
  QString folder;
  if (!m_score.FileName().empty()) folder = QFileInfo(FromNative(m_score.FileName())).absolutePath();
  if (folder.isEmpty()) folder = OpenDialogFolder(m_defaultFolder);
  const int startFilter = OpenDialogFilterIndex();
  const std::optional<SaveAsChoice> choice =
      m_prompt ? m_prompt(folder, startFilter) : RunSaveAsDialog(nullptr, folder, startFilter);
  if (!choice || choice->Path.isEmpty()) return Outcome::Cancelled;

  const int filter = (choice->FilterIndex >= 1 && choice->FilterIndex <= 3) ? choice->FilterIndex
                                                                            : kTypeScore;
  platform::WriteSetting(QStringLiteral("Files"), QStringLiteral("Type"), filter);
  const int format = filter == kTypeMidi ? notecraft::fmtMIDI : notecraft::fmtVeltrimond;
  if (!m_score.SaveFile(choice->Path.toStdString(), format)) {
    Fail(choice->Path);
    return Outcome::Failed;
  }
  m_history.Add(choice->Path);
  return Outcome::Saved;
}

void ScoreSaving::Fail(const QString& path) {
  QString text = QObject::tr("Could not save %1.").arg(QFileInfo(path).fileName());
  const QString why = FromNative(m_score.LastFileError());
  if (!why.isEmpty()) text += QStringLiteral("\n\n") + why;
  const QString title = QObject::tr("Save");
  if (m_message) {
    m_message(title, text);
  } else {
    notecraft::CurrentPlatform().ShowMessage(title.toStdString(), text.toStdString());
  }
}

}  // namespace veltrimond
