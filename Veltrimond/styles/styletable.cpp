#include "Veltrimond/styles/styletable.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"

namespace veltrimond::styles {

namespace {

// Stands in for the host's platform while a style opens: the host's folders and screen,
// but no recent-documents entry and no message box; the message is kept for the caller.
class QuietPlatform final : public notecraft::Platform {
public:
  explicit QuietPlatform(notecraft::Platform& host) : m_host(host) {}

  int TwipsPerPixelX() const override { return m_host.TwipsPerPixelX(); }
  int TwipsPerPixelY() const override { return m_host.TwipsPerPixelY(); }
  std::filesystem::path DataRoot() const override { return m_host.DataRoot(); }
  void AddToRecentDocs(const std::string&) override {}
  void ShowMessage(const std::string&, const std::string& text) override { m_message = text; }
  std::string ClipboardText() const override { return m_host.ClipboardText(); }
  void SetClipboardText(const std::string& text) override { m_host.SetClipboardText(text); }

  const std::string& Message() const { return m_message; }

private:
  notecraft::Platform& m_host;
  std::string m_message;
};

class ScopedPlatform {
public:
  explicit ScopedPlatform(notecraft::Platform& replacement) : m_host(notecraft::CurrentPlatform()) {
    notecraft::SetPlatform(&replacement);
  }
  ~ScopedPlatform() { notecraft::SetPlatform(&m_host); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
  notecraft::Platform& m_host;
};

}  // namespace

std::unique_ptr<notecraft::Score> OpenStyle(const std::string& path, std::string* why) {
  QuietPlatform quiet(notecraft::CurrentPlatform());
  ScopedPlatform scope(quiet);
  auto style = std::make_unique<notecraft::Score>();
  if (style->OpenFile(path)) return style;
  if (why) {
    *why = style->LastFileError();
    if (why->empty()) *why = quiet.Message();
    if (why->empty()) *why = "it could not be read";
  }
  return nullptr;
}

StyleTable LoadStyleTable(const std::string& folder) {
  namespace fs = std::filesystem;
  StyleTable table;
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), done; !ec && it != done; it.increment(ec)) {
    const fs::path& path = it->path();
    if (path.extension() == ".sty" && it->is_regular_file(ec)) files.push_back(path);
  }
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  for (const fs::path& path : files) {
    const std::string file = path.filename().string();
    std::string why;
    const auto style = OpenStyle(path.string(), &why);
    const auto entry = style ? DescribeStyle(*style, path.stem().string(), &why) : std::nullopt;
    if (entry)
      table.entries.push_back(*entry);
    else
      table.skipped.push_back({file, why});
  }
  return table;
}

std::string StyleFilePath(const std::string& folder, const std::string& name) {
  return folder + "/" + name + ".sty";
}

}  // namespace veltrimond::styles
