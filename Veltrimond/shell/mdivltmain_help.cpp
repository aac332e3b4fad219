// The frame's Defaults and About commands, the chord mapper window, and the companion
// programs: the help viewer, the help updater and the style editor. A companion that runs
// already is brought forward through its single-instance channel; one that cannot be
// started is reported and the editor carries on.
#include <QStatusBar>

#include "Veltrimond/options/frmvltdefaults.h"
#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/frmvltabout.h"
#include "Veltrimond/shell/frmvltmapper.h"
#include "Veltrimond/shell/mdivltmain.h"
#include "notecraft/core/platform.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "tonegen/mididevices.h"
#include "tonegen/soundmaster.h"

namespace veltrimond {

namespace {

const QString kDevices = QStringLiteral("Devices");

}  // namespace

bool mdiVLTMain::Launch(const CompanionCommand& command) {
  return m_launcher ? m_launcher(command) : StartCompanion(command);
}

void mdiVLTMain::ShowHelp(const QString& topic) {
  // An open viewer comes forward as it is; the topic asked for is not passed on.
  if (platform::SendInstanceCommand(kHelpCaption, QStringLiteral("show"))) return;
  if (!Launch(HelpViewerCommand(m_context.Paths, topic)))
    notecraft::CurrentPlatform().ShowMessage(
        "Help", tr("The help viewer (guideview) could not be started.").toStdString());
}

void mdiVLTMain::HelpContents() {
  ShowHelp(QStringLiteral("TOC"));
}

void mdiVLTMain::HelpIndex() {
  ShowHelp(QStringLiteral("IX"));
}

void mdiVLTMain::HelpUpdate() {
  if (!Launch(HelpUpdaterCommand(m_context.Paths)))
    notecraft::CurrentPlatform().ShowMessage(
        "Help", tr("The help updater (guidefetch) could not be started.").toStdString());
}

void mdiVLTMain::ToolsStyleEditor() {
  if (platform::SendInstanceCommand(kStyleEditorCaption, QStringLiteral("show"))) return;
  if (!Launch(StyleEditorCommand(m_context.Paths)))
    pctStatusBar->showMessage(tr("The style editor (layoutpad) could not be started."), 8000);
}

void mdiVLTMain::ToolsChordMapper() {
  if (m_mapper && m_mapperWindow) {
    m_mapperWindow->showNormal();
    m_mapperWindow->raise();
    m_mapperWindow->activateWindow();
    return;
  }
  auto* window = new frmVLTMapper(*this, this, m_context.Paths);
  m_mapperWindow = window;
  window->show();
}

void mdiVLTMain::HelpAbout() {
  frmVLTAbout about(m_context.State.Tpp, m_context.Paths.DataDir, this);
  about.exec();
}

void mdiVLTMain::ScoreDefaults() {
  // The output stays closed while the dialog is open and is opened again, with the device
  // the dialog chose, whatever the answer.
  CancelPlay(false);
  if (m_sound) m_sound->CloseOutput();
  const MidiDeviceLists devices = m_deviceLister ? m_deviceLister() : ListMidiDevices();
  {
    frmVLTDefaults dialog(m_context.State, devices, [this] { ReloadDefaults(); }, this);
    dialog.exec();
    if (dialog.Result() == OptionsModel::kResultOk) SaveOptionSettings(m_context.State.Options);
  }
  ResolveDevices();
  if (m_sound) {
    m_sound->SetOutputDevice(m_context.State.PlayDeviceID);
    m_sound->OpenOutput();
  }
}

void mdiVLTMain::ResolveDevices() {
  if (!m_sound) return;
  AppState& state = m_context.State;
  if (const auto outputs = m_sound->OutputDevices())
    state.PlayDeviceID = ResolveDeviceId(
        ToEntries(*outputs), platform::ReadSetting(kDevices, QStringLiteral("Play")),
        state.PlayDeviceID);
  if (const auto inputs = m_sound->InputDevices())
    state.RecordDeviceID = ResolveDeviceId(
        ToEntries(*inputs), platform::ReadSetting(kDevices, QStringLiteral("Record")),
        state.RecordDeviceID);
}

}  // namespace veltrimond
