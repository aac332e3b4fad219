#pragma once
// The keyword index: keyword items (one per keyword, shared by every page that uses it) and
// topic items (one per page and keyword path), ordered by their "Sort" key once built.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace guideview {

enum class IndexItemKind { Keyword, Topic };

struct IndexItem {
  std::string text;  // a keyword, or a topic's title indented by three blanks per keyword level
  std::string sort;  // the keyword path joined by ",", for a topic followed by its title
  std::string url;   // a topic's page; empty for a keyword
  IndexItemKind kind = IndexItemKind::Keyword;
};

class HelpIndex {
public:
  // Enters a page under a keyword path: keywords separated by "\" (empty parts are skipped), or
  // empty for the top level. Each keyword gets its item (found again by its text, ignoring
  // letter case) whose "Sort" becomes this path; then a topic item is added for the page.
  void AddIndexEntry(std::string_view title, std::string_view keywordPath, std::string_view file);

  // Puts the items in "Sort" order: part by part between the commas, ignoring letter case.
  void Sort();

  void Clear();

  const std::vector<IndexItem>& Items() const { return m_items; }

  // The first item, from the top, whose text begins with `typed` (ignoring letter case).
  std::optional<std::size_t> FindByPrefix(std::string_view typed) const;

private:
  std::vector<IndexItem> m_items;
  std::unordered_map<std::string, std::size_t> m_keywordItems;  // lower-cased keyword -> item
};

}  // namespace guideview
