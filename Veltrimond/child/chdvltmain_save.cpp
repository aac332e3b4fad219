#include "Veltrimond/child/chdvltmain_save.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

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

// The file name for a newly chosen filter: a score or MIDI extension becomes the filter's
// own, so that choosing "MIDI files" for "Song.sco" saves "Song.mid". Other names, and
// "All Files", keep what they have.
QString NameForFilter(const QString& name, int filter) {
  if (filter != kTypeScore && filter != kTypeMidi) return name;
  const QString suffix = QFileInfo(name).suffix().toLower();
  if (suffix != QLatin1String("sco") && suffix != QLatin1String("mid") &&
      suffix != QLatin1String("midi"))
    return name;
  return name.left(name.size() - suffix.size()) + QString::fromLatin1(kSuffixes[filter - 1]);
}

}  // namespace

QString SaveAsFilters() {
  return QStringLiteral("Veltrimond Files (*.sco);;MIDI files (*.mid *.midi);;All Files (*)");
}

std::optional<SaveAsChoice> RunSaveAsDialog(QWidget* parent, const SaveAsOffer& offer) {
  // A folder that is not there would be taken for the file's name.
  const QString folder = QFileInfo(offer.Folder).isDir() ? offer.Folder : QDir::homePath();
  QFileDialog dialog(parent, QObject::tr("Save As"), folder, SaveAsFilters());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QStringList filters = dialog.nameFilters();
  const int start = (offer.Filter >= 1 && offer.Filter <= 3) ? offer.Filter : 1;
  dialog.selectNameFilter(filters.value(start - 1));
  // The dialog adds the suffix before it checks for an existing file, so "song" typed on
  // the score filter is confirmed as the "song.sco" it replaces.
  dialog.setDefaultSuffix(QString::fromLatin1(kSuffixes[start - 1]));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
    const qsizetype index = filters.indexOf(filter);
    if (index < 0) return;
    dialog.setDefaultSuffix(QString::fromLatin1(kSuffixes[index]));
    const QString name = QFileInfo(dialog.selectedFiles().value(0)).fileName();
    const QString renamed = NameForFilter(name, static_cast<int>(index) + 1);
    if (renamed != name) dialog.selectFile(renamed);
  });
  if (!offer.Name.isEmpty()) dialog.selectFile(offer.Name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return SaveAsChoice{dialog.selectedFiles().first(),
                      static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

SaveAsTarget SaveAsTargetOf(const SaveAsChoice& choice) {
  const int filter =
      (choice.FilterIndex >= 1 && choice.FilterIndex <= 3) ? choice.FilterIndex : kTypeScore;
  SaveAsTarget target{choice.Path,
                      filter == kTypeMidi ? notecraft::fmtMIDI : notecraft::fmtVeltrimond, filter};
  const QFileInfo file(choice.Path);
  const QString suffix = file.suffix().toLower();
  if (suffix == QLatin1String("sco") || suffix == QLatin1String("sty")) {
    target.Format = notecraft::fmtVeltrimond;
    if (filter == kTypeMidi) target.Filter = kTypeScore;
  } else if (suffix == QLatin1String("mid") || suffix == QLatin1String("midi")) {
    target.Format = notecraft::fmtMIDI;
    target.Filter = kTypeMidi;
  } else if (suffix.isEmpty() && !file.fileName().isEmpty() && filter != kTypeAll) {
    target.Path += QLatin1Char('.') + QString::fromLatin1(kSuffixes[filter - 1]);
  }
  return target;
}

QString SaveAsName(const notecraft::Score& score) {
  if (!score.FileName().empty()) return QFileInfo(FromNative(score.FileName())).completeBaseName();
  QString title = FromNative(score.Title()).simplified();
  // Characters that separate folders or are refused by other file systems.
  static const QRegularExpression unfit(QStringLiteral("[/\\\\:*?\"<>|]"));
  title.replace(unfit, QStringLiteral("-"));
  while (title.startsWith(QLatin1Char('.'))) title.remove(0, 1);
  return title.isEmpty() ? QStringLiteral("Untitled") : title;
}

ScoreSaving::ScoreSaving(notecraft::Score& score, platform::RecentFiles& history)
    : m_score(score), m_history(history) {}

bool SavesInPlace(const notecraft::Score& score, bool untitled) {
  return !untitled && !score.FileName().empty() && score.FileFormat() == notecraft::fmtVeltrimond;
}

ScoreSaving::Outcome ScoreSaving::Save(bool untitled) {
  // A score opened but since lost its path (never expected) also needs a name first. A
  // MIDI file holds less than the score (one tempo, no layout): it is never written over
  // unasked.
  if (!SavesInPlace(m_score, untitled)) {
    SaveAsOffer offer = DefaultOffer();
    if (m_score.FileFormat() == notecraft::fmtMIDI) {
      // Offered as a score beside the MIDI file; MIDI stays a choice in the dialog.
      offer.Name += QStringLiteral(".sco");
      offer.Filter = kTypeScore;
    }
    return SaveAs(offer);
  }
  if (m_score.SaveFile()) return Outcome::Saved;
  Fail(FromNative(m_score.FileName()));
  return Outcome::Failed;
}

ScoreSaving::Outcome ScoreSaving::SaveAs() {
  return SaveAs(DefaultOffer());
}

SaveAsOffer ScoreSaving::DefaultOffer() const {
  SaveAsOffer offer;
  if (!m_score.FileName().empty())
    offer.Folder = QFileInfo(FromNative(m_score.FileName())).absolutePath();
  if (offer.Folder.isEmpty()) offer.Folder = m_defaultFolder;
  offer.Name = SaveAsName(m_score);
  offer.Filter = OpenDialogFilterIndex();
  return offer;
}

ScoreSaving::Outcome ScoreSaving::SaveAs(const SaveAsOffer& offer) {
  const std::optional<SaveAsChoice> choice =
      m_prompt ? m_prompt(offer) : RunSaveAsDialog(nullptr, offer);
  if (!choice || choice->Path.isEmpty()) return Outcome::Cancelled;

  const SaveAsTarget target = SaveAsTargetOf(*choice);
  platform::WriteSetting(QStringLiteral("Files"), QStringLiteral("Type"), target.Filter);
  if (!m_score.SaveFile(target.Path.toStdString(), target.Format)) {
    Fail(target.Path);
    return Outcome::Failed;
  }
  m_history.Add(target.Path);
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
