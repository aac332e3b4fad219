#pragma once
// Points the XDG config and data folders at a temporary folder for one test, and puts the
// previous values back afterwards.

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

namespace platform::testing {

class XdgSandbox {
public:
  XdgSandbox()
      : oldConfig_(qgetenv("XDG_CONFIG_HOME")),
        oldData_(qgetenv("XDG_DATA_HOME")),
        hadConfig_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")),
        hadData_(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
    QDir(dir_.path()).mkpath("config");
    QDir(dir_.path()).mkpath("data");
    qputenv("XDG_CONFIG_HOME", ConfigHome().toUtf8());
    qputenv("XDG_DATA_HOME", DataHome().toUtf8());
  }
  ~XdgSandbox() {
    Restore("XDG_CONFIG_HOME", hadConfig_, oldConfig_);
    Restore("XDG_DATA_HOME", hadData_, oldData_);
  }
  XdgSandbox(const XdgSandbox&) = delete;
  XdgSandbox& operator=(const XdgSandbox&) = delete;

  QString Root() const { return dir_.path(); }
  QString ConfigHome() const { return dir_.path() + "/config"; }
  QString DataHome() const { return dir_.path() + "/data"; }

private:
  static void Restore(const char* name, bool had, const QByteArray& value) {
    if (had)
      qputenv(name, value);
    else
      qunsetenv(name);
  }

  QTemporaryDir dir_;
  QByteArray oldConfig_;
  QByteArray oldData_;
  bool hadConfig_;
  bool hadData_;
};

}  // namespace platform::testing
