#include "guideview/core/helpindex.h"

#include <algorithm>

#include "guideview/core/pagetext.h"

namespace guideview {

namespace {

// Compares the comma-separated parts in turn, so that a keyword's subentries ("A,B") follow it
// directly instead of after a sibling such as "A B" whose blank sorts before the comma.
int CompareSortKeys(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (true) {
    bool aEnd = i >= a.size() || a[i] == ',';
    bool bEnd = j >= b.size() || b[j] == ',';
    if (aEnd || bEnd) {
      if (!aEnd) return 1;
      if (!bEnd) return -1;
      bool aDone = i >= a.size(), bDone = j >= b.size();
      if (aDone || bDone) return aDone == bDone ? 0 : (aDone ? -1 : 1);
      ++i, ++j;
      continue;
    }
    char x = a[i], y = b[j];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    ++i, ++j;
  }
}

}  // namespace

void HelpIndex::AddIndexEntry(std::string_view title, std::string_view keywordPath,
                              std::string_view file) {
  std::string pathSoFar;
  std::string indent;
  std::string_view rest = TrimBlanks(keywordPath);
  while (!rest.empty()) {
    std::size_t cut = rest.find('\\');
    std::string_view part = TrimBlanks(rest.substr(0, cut));
    rest = cut == std::string_view::npos ? std::string_view{} : TrimBlanks(rest.substr(cut + 1));
    if (part.empty()) continue;
    indent += "   ";
    if (!pathSoFar.empty()) pathSoFar += ',';
    pathSoFar += part;
    // Only keyword items are looked up: a topic with the same text must keep its own "Sort".
    std::string lookup = AsciiLower(part);
    auto found = m_keywordItems.find(lookup);
    std::size_t item;
    if (found == m_keywordItems.end()) {
      item = m_items.size();
      m_items.push_back({std::string(part), {}, {}, IndexItemKind::Keyword});
      m_keywordItems.emplace(std::move(lookup), item);
    } else {
      item = found->second;
    }
    m_items[item].sort = pathSoFar;
  }
  if (!pathSoFar.empty()) pathSoFar += ',';
  pathSoFar += title;
  m_items.push_back(
      {indent + std::string(title), pathSoFar, std::string(file), IndexItemKind::Topic});
}

void HelpIndex::Sort() {
  std::vector<std::size_t> order(m_items.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return CompareSortKeys(m_items[a].sort, m_items[b].sort) < 0;
  });
  std::vector<IndexItem> sorted;
  sorted.reserve(m_items.size());
  for (std::size_t i : order) sorted.push_back(std::move(m_items[i]));
  m_items = std::move(sorted);
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i].kind == IndexItemKind::Keyword) m_keywordItems[AsciiLower(m_items[i].text)] = i;
}

void HelpIndex::Clear() {
  m_items.clear();
  m_keywordItems.clear();
}

std::optional<std::size_t> HelpIndex::FindByPrefix(std::string_view typed) const {
  if (typed.empty()) return std::nullopt;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    std::string_view text = m_items[i].text;
    if (text.size() >= typed.size() && EqualsIgnoringCase(text.substr(0, typed.size()), typed))
      return i;
  }
  return std::nullopt;
}

}  // namespace guideview
