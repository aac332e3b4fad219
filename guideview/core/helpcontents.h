#pragma once
// Builds the contents tree and the keyword index from the help pages themselves, starting at
// the contents page: its links name the topics (their order is the tree's order), pictures
// "BOOK.GIF" and "DOC.GIF" before a link make it a section or a chapter, a topic page's own
// links hang still unread topics under it, "<IDX GROUP=...>" files a page in the index, and a
// page's title names its node. No widgets: the viewer copies the result into its tree and list.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "guideview/core/helpindex.h"

namespace guideview {

struct HelpNode {
  std::string key;    // the page's file name; one node per name
  std::string text;   // its title, or its link text when it has none (plain text)
  std::string image;  // "Section", "Chapter" or "Opened"
  std::string selectedImage;
  std::string parentKey;       // empty for a top-level node; the parent comes earlier in `nodes`
  std::filesystem::path path;  // the page to show
};

struct HelpContents {
  std::filesystem::path helpFolder;  // the contents page's folder, canonical
  std::vector<HelpNode> nodes;       // in insertion order, which Prev and Next walk
  HelpIndex index;                   // sorted

  std::optional<std::size_t> FindNode(std::string_view key) const;

  std::unordered_map<std::string, std::size_t> nodeByKey;
};

// Limits that keep a hostile or broken help folder from exhausting time or memory.
inline constexpr std::size_t kMaxPageBytes = 8 * 1024 * 1024;  // the rest of a page is not read
inline constexpr std::size_t kMaxTopics = 10000;               // links past this are not followed
inline constexpr std::size_t kMaxKeywordPaths = 100;           // index entries of one page

// Reads the contents page at `contentsPath` and the pages it links. Unreadable pages and
// malformed constructs are skipped without a report; a missing contents page gives empty results.
HelpContents LoadContents(const std::filesystem::path& contentsPath);

// Reads a page's bytes (at most kMaxPageBytes) and decodes them; nothing when it cannot be read.
std::optional<std::string> ReadPageText(const std::filesystem::path& path);

}  // namespace guideview
