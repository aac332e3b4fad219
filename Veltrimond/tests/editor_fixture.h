#pragma once
// An editor started the way main() starts it, on the offscreen platform, with fake score
// windows and a settings folder of its own. The splash's time is run out by hand.

#include <QPointer>
#include <QStringList>
#include <memory>

#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/mdivltmain.h"
#include "Veltrimond/shell/qtplatform.h"
#include "Veltrimond/shell/startup.h"
#include "fakescorewindow.h"
#include "settings_fixture.h"

namespace veltrimond::testing {

class EditorFixture : public SettingsFixture {
protected:
  void TearDown() override;

  // Runs the start-up up to the frame shown, splash still waiting.
  mdiVLTMain* Start(const QStringList& arguments = {QStringLiteral("Veltrimond")});
  // Runs the splash's time out: the first activation completes.
  void ExpireSplash();
  // Ends the editor (frame, start-up, platform) but keeps the settings folder.
  void StopEditor();
  // Start() and ExpireSplash().
  mdiVLTMain* StartReady(const QStringList& arguments = {QStringLiteral("Veltrimond")});

  mdiVLTMain* Frame() const { return m_startup ? m_startup->Frame() : nullptr; }
  QtPlatform& Desktop() { return *m_platform; }
  Startup& TheStartup() { return *m_startup; }
  // The windows the frame asked for, in order (null once deleted).
  QList<QPointer<FakeScoreWindow>> Windows;
  FakeScoreWindow::Behaviour NextWindow;
  // Whether the start-up registers the file type (in the test's own data folder).
  bool RegisterFileType = false;
  AppContext Context;

private:
  std::unique_ptr<QtPlatform> m_platform;
  std::unique_ptr<Startup> m_startup;
};

}  // namespace veltrimond::testing
