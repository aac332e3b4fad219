#pragma once
// What the engine needs of the machine it runs on, filled by the host.
//
// The engine never asks a screen or a desktop directly: a host (the editor, a test, a
// command-line tool) installs its own Platform; without one, the defaults below apply.
// The installed object is not owned and must outlive its use. Single-threaded.

#include <filesystem>
#include <string>

namespace notecraft {

class Platform {
public:
  virtual ~Platform() = default;

  // Screen twips per pixel (15 at 96 dots per inch).
  virtual int TwipsPerPixelX() const { return 15; }
  virtual int TwipsPerPixelY() const { return 15; }
  // The install folder that holds Common/Config, Common/Cursors and Common/Help.
  virtual std::filesystem::path DataRoot() const;
  // Adds an opened file to the desktop's recent documents; nothing by default.
  virtual void AddToRecentDocs(const std::string& path) { (void)path; }
  // A message the user must see, in a box with the given title ("Open", ...). Headless
  // hosts may log it; by default it goes to standard error.
  virtual void ShowMessage(const std::string& title, const std::string& text);
  // The desktop clipboard as plain text (copying and pasting notes). By default a buffer
  // of this object, so a headless host copies and pastes within its own process.
  virtual std::string ClipboardText() const { return m_clipboard; }
  virtual void SetClipboardText(const std::string& text) { m_clipboard = text; }

private:
  std::string m_clipboard;
};

Platform& CurrentPlatform();
// Installs a host's platform; null restores the defaults.
void SetPlatform(Platform* platform);

// The install folder: $VELTRIMOND_HOME when set, else found from the running program:
// its own folder, the folder above it, or ../share/veltrimond, whichever holds
// Common/Config (a build tree keeps programs in bin/ and the data beside bin/).
std::filesystem::path InstallRoot();

}  // namespace notecraft
