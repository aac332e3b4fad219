// Insert Style: the dialog over the styles folder, then the chosen style laid into the
// window's score.
#include <QString>

#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/mdivltmain.h"
#include "Veltrimond/styles/qt/frmvltstyle.h"
#include "Veltrimond/styles/stylepattern.h"
#include "Veltrimond/styles/styletable.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "platform/settingsstore.h"
#include "platform/stylesfolder.h"
#include "tonegen/soundmaster.h"

namespace veltrimond {

namespace {

// The score player started by Listen opens the MIDI device itself, so the frame lets go of
// it while the dialog is open, and takes it back however the dialog ends.
class OutputReleased {
public:
  explicit OutputReleased(tonegen::SoundMaster* sound) : m_sound(sound) {
    if (m_sound) m_sound->CloseOutput();
  }
  ~OutputReleased() {
    if (m_sound) m_sound->OpenOutput();
  }
  OutputReleased(const OutputReleased&) = delete;
  OutputReleased& operator=(const OutputReleased&) = delete;

private:
  tonegen::SoundMaster* m_sound;
};

// Main/Styles, or the user's own styles folder while nothing chose one.
QString StylesFolder(const AppContext& context) {
  // Seeds the user's folder from the shipped styles the first time.
  QString folder = platform::UserStylesFolder(context.Paths.DataDir);
  if (folder.isEmpty()) folder = context.Paths.StylesDir();
  const QString stored = platform::ReadSetting(QStringLiteral("Main"), QStringLiteral("Styles"));
  return stored.isEmpty() || stored == QLatin1String("%NONE") ? folder : stored;
}

}  // namespace

bool mdiVLTMain::InsertStyle(notecraft::Score& score, long staff, long measure, int type) {
  // Playback stops before the output goes, so no note is left hanging on the device.
  CancelPlay(false);
  const OutputReleased released(m_sound.get());

  const QString section = QStringLiteral("Style");
  const int beatIndex = platform::ReadSettingIndex(section, QStringLiteral("Beat"), 0, 0, 4);
  const int typeIndex =
      type >= 0 ? type : platform::ReadSettingIndex(section, QStringLiteral("Type"), 0, 0, 3);

  styles::frmVLTStyle dialog(StylesFolder(m_context), this);
  dialog.SetTypeIndex(typeIndex);
  dialog.SetBeatIndex(beatIndex);
  dialog.SetMeasure(measure);
  dialog.SetPlayer(m_context.Paths.BinDir + QStringLiteral("/listenbox"));
  if (dialog.exec() != QDialog::Accepted) return false;

  const styles::frmVLTStyle::Request request = dialog.TheRequest();
  std::string why;
  const auto style = styles::OpenStyle(request.file.toStdString(), &why);
  if (!style) {
    notecraft::CurrentPlatform().ShowMessage(
        "Insert Style", "The style " + request.file.toStdString() + " cannot be inserted: " + why);
    return false;
  }
  styles::InsertStylePattern(*style, score, static_cast<int>(staff), request.first, request.end,
                             request.shift);
  return true;
}

}  // namespace veltrimond
