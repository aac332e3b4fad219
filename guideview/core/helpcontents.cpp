#include "guideview/core/helpcontents.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "guideview/core/helptarget.h"
#include "guideview/core/pagescanner.h"
#include "guideview/core/pagetext.h"

namespace guideview {

namespace fs = std::filesystem;

namespace {

// A topic named by the contents page, waiting to be read.
struct TopicRow {
  std::string target;
  std::string text;
  std::string image;
  std::string parentKey;
  std::string selectedImage;
};

struct PageResult {
  std::string nodeText;
  std::vector<std::string> keywordPaths;
};

class ContentsBuilder {
public:
  ContentsBuilder(HelpContents& out, fs::path contentsPath)
      : m_out(out), m_contentsPath(std::move(contentsPath)) {}

  void Run() {
    std::error_code ec;
    if (!fs::is_regular_file(m_contentsPath, ec)) return;
    m_out.helpFolder = fs::weakly_canonical(m_contentsPath.parent_path(), ec);
    if (ec) return;
    std::string contentsKey = m_contentsPath.filename().string();
    ReadPage(m_contentsPath, contentsKey, {}, "Section", "Opened", {}, true);
    for (std::size_t next = 0; next < m_rows.size(); ++next) {
      // Copied: reading the page may re-parent rows, this one included.
      TopicRow row = m_rows[next];
      auto path = ResolveHelpTarget(m_out.helpFolder, row.target);
      if (!path) continue;
      ReadPage(*path, path->filename().string(), row.text, row.image, row.selectedImage,
               row.parentKey, false);
    }
    m_out.index.Sort();
  }

private:
  void ReadPage(const fs::path& path, const std::string& key, std::string_view linkText,
                const std::string& image, const std::string& selectedImage,
                const std::string& parentKey, bool isContents) {
    const std::vector<PageConstruct>* constructs = Scan(path, isContents);
    if (!constructs) return;

    PageResult page;
    page.nodeText = HtmlToPlainText(linkText);
    for (const PageConstruct& c : *constructs) {
      switch (c.kind) {
        case PageConstruct::Kind::Link:
          if (isContents)
            AddRow(key, c);
          else
            Reparent(key, c.value);
          break;
        case PageConstruct::Kind::Image: {
          std::string picture = AsciiLower(c.value);
          if (picture == "book.gif")
            m_image = "Section", m_selectedImage = "Opened";
          else if (picture == "doc.gif")
            m_image = "Chapter", m_selectedImage = "Chapter";
          break;
        }
        case PageConstruct::Kind::KeywordGroup:
          if (page.keywordPaths.size() < kMaxKeywordPaths) page.keywordPaths.push_back(c.value);
          break;
        case PageConstruct::Kind::Title:
          page.nodeText = HtmlToPlainText(c.text);
          break;
      }
    }
    if (page.nodeText.empty()) return;

    std::string file = path.string();
    if (page.keywordPaths.empty()) m_out.index.AddIndexEntry(page.nodeText, {}, file);
    for (const std::string& group : page.keywordPaths) {
      // Keywords are shown as plain text, decoded as titles are ("Chords &amp; Diagrams").
      std::string keywords = HtmlToPlainText(group);
      bool root = EqualsIgnoringCase(keywords, "%root%");
      m_out.index.AddIndexEntry(page.nodeText, root ? std::string_view{} : keywords, file);
    }

    // A page reached again, or another page of the same file name, keeps the first node and
    // its page: the node's text and the page it shows stay together.
    if (m_out.nodeByKey.contains(key)) return;
    if (!parentKey.empty() && !m_out.nodeByKey.contains(parentKey)) return;
    m_out.nodeByKey.emplace(key, m_out.nodes.size());
    m_out.nodes.push_back({key, page.nodeText, image, selectedImage, parentKey, path});
  }

  // A page linked many times is read once (the contents page is scanned for pictures too).
  const std::vector<PageConstruct>* Scan(const fs::path& path, bool isContents) {
    std::string key = (isContents ? "c:" : "p:") + path.string();
    auto found = m_scanned.find(key);
    if (found != m_scanned.end()) return &found->second;
    auto text = ReadPageText(path);
    if (!text) return nullptr;
    return &m_scanned.emplace(std::move(key), ScanPage(*text, isContents)).first->second;
  }

  void AddRow(const std::string& contentsKey, const PageConstruct& link) {
    if (!link.closed || m_rows.size() >= kMaxTopics) return;
    m_firstRowOf.try_emplace(link.value, m_rows.size());
    m_rows.push_back({link.value, link.text, m_image, contentsKey, m_selectedImage});
  }

  // The first row of the target; found by lookup, as a page may hold many thousand links.
  void Reparent(const std::string& pageKey, const std::string& target) {
    auto found = m_firstRowOf.find(target);
    if (found != m_firstRowOf.end()) m_rows[found->second].parentKey = pageKey;
  }

  HelpContents& m_out;
  fs::path m_contentsPath;
  std::vector<TopicRow> m_rows;
  std::unordered_map<std::string, std::size_t> m_firstRowOf;  // target -> its first row
  std::unordered_map<std::string, std::vector<PageConstruct>> m_scanned;
  std::string m_image = "Section";
  std::string m_selectedImage = "Opened";
};

}  // namespace

std::optional<std::size_t> HelpContents::FindNode(std::string_view key) const {
  auto it = nodeByKey.find(std::string(key));
  if (it == nodeByKey.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> ReadPageText(const fs::path& path) {
  // Only plain files: a device or a pipe named by a page could block the reader or never end.
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  auto size = fs::file_size(path, ec);
  if (ec) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(std::min<std::uintmax_t>(size, kMaxPageBytes), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return DecodePageBytes(bytes);
}

HelpContents LoadContents(const fs::path& contentsPath) {
  HelpContents contents;
  std::error_code ec;
  fs::path absolute = fs::absolute(contentsPath, ec);
  if (ec) return contents;
  ContentsBuilder(contents, absolute.lexically_normal()).Run();
  return contents;
}

}  // namespace guideview
