#include "editor_fixture.h"

#include <QApplication>
#include <QTest>

#include "Veltrimond/shell/frmvltsplash.h"
#include "notecraft/core/platform.h"
#include "tonegen/report.h"

namespace veltrimond::testing {

mdiVLTMain* EditorFixture::Start(const QStringList& arguments) {
  // The test's own folder, unless the test chose one.
  if (Context.Paths.DataDir.isEmpty()) Context.Paths.DataDir = Folder();
  if (Context.Paths.UserDataDir.isEmpty()) Context.Paths.UserDataDir = Folder() + "/user";
  if (Context.Paths.Documents.isEmpty()) Context.Paths.Documents = Folder();
  Context.NewScoreWindow = [this](AppContext&, IFrame&) -> IScoreWindow* {
    auto* window = new FakeScoreWindow(NextWindow);
    Windows.append(window);
    return window;
  };
  m_platform = std::make_unique<QtPlatform>(Context);
  notecraft::SetPlatform(m_platform.get());
  tonegen::SetErrorHandler(
      [p = m_platform.get()](const std::string& title, const std::string& text) {
        p->ShowMessage(title, text);
      });
  Startup::Options options;
  options.RegisterFileType = RegisterFileType;
  m_startup = std::make_unique<Startup>(Context, m_platform.get(), arguments, options);
  mdiVLTMain* frame = m_startup->Run();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(frame));
  return frame;
}

void EditorFixture::ExpireSplash() {
  if (frmVLTSplash* splash = m_startup->Splash()) splash->Expire();
  QCoreApplication::processEvents();
}

mdiVLTMain* EditorFixture::StartReady(const QStringList& arguments) {
  mdiVLTMain* frame = Start(arguments);
  ExpireSplash();
  return frame;
}

void EditorFixture::StopEditor() {
  m_startup.reset();
  tonegen::SetErrorHandler({});
  notecraft::SetPlatform(nullptr);
  m_platform.reset();
  Windows.clear();
  // Message boxes and windows left over must not reach the next start.
  for (QWidget* widget : QApplication::topLevelWidgets()) widget->deleteLater();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void EditorFixture::TearDown() {
  StopEditor();
  SettingsFixture::TearDown();
}

}  // namespace veltrimond::testing
