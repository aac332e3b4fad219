#include "guideview/core/pagecost.h"

#include <algorithm>
#include <array>
#include <vector>

#include "guideview/core/pagetext.h"

namespace guideview {

namespace {

constexpr auto npos = std::string_view::npos;

// Elements that never hold anything.
constexpr std::array<std::string_view, 18> kEmpty = {
    "area",  "base",    "basefont", "br",   "col",  "embed", "frame",  "hr",    "img",
    "input", "isindex", "keygen",   "link", "meta", "param", "source", "track", "wbr"};

// Elements whose end tag may be left out; the next one of their kind, or their container's
// end, closes them. They are counted, but their depth is their container's.
constexpr std::array<std::string_view, 21> kSelfEnding = {
    "body", "caption", "colgroup", "dd",  "dt",    "head", "html",  "li", "optgroup", "option", "p",
    "rb",   "rp",      "rt",       "rtc", "tbody", "td",   "tfoot", "th", "thead",    "tr"};

// Elements whose content is text up to their own end tag.
constexpr std::array<std::string_view, 5> kRawText = {"script", "style", "textarea", "title",
                                                      "xmp"};

constexpr std::array<std::string_view, 4> kLists = {"dir", "menu", "ol", "ul"};

// Elements that start a line (with their end tags): a word ends at them. Any other tag
// stands inside a line, and the word goes on across it.
constexpr std::array<std::string_view, 38> kLineBreaking = {
    "address", "blockquote", "body",  "br",       "caption", "center", "dd",    "dir",
    "div",     "dl",         "dt",    "h1",       "h2",      "h3",     "h4",    "h5",
    "h6",      "head",       "hr",    "html",     "li",      "menu",   "ol",    "p",
    "pre",     "table",      "tbody", "td",       "tfoot",   "th",     "thead", "title",
    "tr",      "ul",         "form",  "fieldset", "section", "article"};

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string Number(std::size_t n) {
  std::string digits = std::to_string(n);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

struct OpenElement {
  std::string name;
  std::size_t items = 0;  // list items, for a list
};

class CostCounter {
public:
  CostCounter(std::string_view lower, const PageLimits& limits) : m_html(lower), m_limits(limits) {}

  std::optional<std::string> Run() {
    std::size_t pos = 0;
    while (!m_refusal && pos < m_html.size()) {
      const std::size_t markup = std::min(m_html.find('<', pos), m_html.size());
      Text(m_html.substr(pos, markup - pos));
      if (markup == m_html.size() || m_refusal) break;
      pos = Markup(markup);
    }
    return m_refusal;
  }

private:
  // Reads the markup at html[pos] == '<'; returns where reading goes on.
  std::size_t Markup(std::size_t pos) {
    const std::string_view rest = m_html.substr(pos);
    if (rest.starts_with("<!--")) return Skip(pos + 4, "-->");
    if (rest.starts_with("<!") || rest.starts_with("<?")) return Skip(pos + 2, ">");
    const bool end = rest.starts_with("</");
    const std::size_t nameStart = pos + (end ? 2 : 1);
    if (nameStart >= m_html.size() || !IsAsciiLetter(m_html[nameStart])) return pos + 1;
    std::size_t nameEnd = nameStart;
    while (nameEnd < m_html.size() &&
           (IsAsciiLetter(m_html[nameEnd]) || (m_html[nameEnd] >= '0' && m_html[nameEnd] <= '9')))
      ++nameEnd;
    const std::string_view name = m_html.substr(nameStart, nameEnd - nameStart);
    const std::size_t close = TagEnd(nameEnd);
    if (IsOneOf(name, kLineBreaking)) m_word = 0;
    if (end) {
      Close(name);
      return close;
    }
    const bool selfClosed = close >= 2 && close - 2 >= nameEnd && m_html[close - 2] == '/';
    Start(name, selfClosed);
    if (IsOneOf(name, kRawText)) {
      const std::size_t endTag = m_html.find("</" + std::string(name), close);
      return endTag == npos ? m_html.size() : endTag;
    }
    return close;
  }

  // Past the terminator, or the end of the page when there is none.
  std::size_t Skip(std::size_t from, std::string_view terminator) const {
    const std::size_t at = m_html.find(terminator, from);
    return at == npos ? m_html.size() : at + terminator.size();
  }

  // Past the ">" that ends a tag whose name ends at `from`; a ">" inside a quoted attribute
  // value does not end it. A quote opens a value only right after "=" (blanks between):
  // "<a href=don't.htm>" ends at its ">".
  std::size_t TagEnd(std::size_t from) const {
    bool afterEquals = false;
    for (std::size_t i = from; i < m_html.size(); ++i) {
      const char c = m_html[i];
      if (c == '>') return i + 1;
      if (afterEquals && (c == '"' || c == '\'')) {
        const std::size_t quote = m_html.find(c, i + 1);
        if (quote == npos) return m_html.size();
        i = quote;
        afterEquals = false;
        continue;
      }
      if (c == '=') {
        afterEquals = true;
      } else if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
        afterEquals = false;
      }
    }
    return m_html.size();
  }

  // A word runs on across the tags that stand inside a line.
  void Text(std::string_view text) {
    for (const char c : text) {
      m_word = (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') ? 0 : m_word + 1;
      if (m_word > m_limits.maxWordLength) {
        Refuse("it holds a word of more than " + Number(m_limits.maxWordLength) + " characters");
        return;
      }
    }
  }

  void Start(std::string_view name, bool selfClosed) {
    // Each table inside a table lays its content out about twice as often again.
    m_elements += std::size_t{1} << (m_tables > 1 ? m_tables - 1 : 0);
    if (m_elements > m_limits.maxElements) {
      Refuse("it holds more than " + Number(m_limits.maxElements) +
             " elements, counting those in tables inside tables twice a level");
      return;
    }
    if (name == "li") {
      auto list = std::find_if(m_open.rbegin(), m_open.rend(),
                               [](const OpenElement& e) { return IsOneOf(e.name, kLists); });
      std::size_t& items = list == m_open.rend() ? m_looseItems : list->items;
      if (++items > m_limits.maxListItems) {
        Refuse("one of its lists holds more than " + Number(m_limits.maxListItems) + " items");
        return;
      }
    }
    if (selfClosed || IsOneOf(name, kEmpty) || IsOneOf(name, kSelfEnding) ||
        IsOneOf(name, kRawText))
      return;
    m_open.push_back({std::string(name), 0});
    if (name == "table" && ++m_tables > m_limits.maxTableDepth) {
      Refuse("it nests tables more than " + Number(m_limits.maxTableDepth) + " deep");
      return;
    }
    if (m_open.size() > m_limits.maxDepth)
      Refuse("it nests its elements more than " + Number(m_limits.maxDepth) + " deep");
  }

  // An end tag closes its element and everything still open inside it; one that closes
  // nothing open is ignored.
  void Close(std::string_view name) {
    auto it = std::find_if(m_open.rbegin(), m_open.rend(),
                           [&](const OpenElement& e) { return e.name == name; });
    if (it == m_open.rend()) return;
    const auto from = std::prev(it.base());
    m_tables -= static_cast<std::size_t>(
        std::count_if(from, m_open.end(), [](const OpenElement& e) { return e.name == "table"; }));
    m_open.erase(from, m_open.end());
  }

  void Refuse(std::string why) {
    if (!m_refusal) m_refusal = "This page is too complex to show: " + std::move(why) + ".";
  }

  std::string_view m_html;
  const PageLimits& m_limits;
  std::vector<OpenElement> m_open;
  std::size_t m_elements = 0;  // weighted by the tables they stand in
  std::size_t m_tables = 0;
  std::size_t m_word = 0;        // characters since the last blank
  std::size_t m_looseItems = 0;  // list items outside any list
  std::optional<std::string> m_refusal;
};

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> RefusePage(std::string_view html, const PageLimits& limits,
                                      std::uintmax_t fileBytes) {
  if (html.size() > limits.maxBytes) {
    const std::uintmax_t size = std::max<std::uintmax_t>(html.size(), fileBytes);
    return "This page is too large to show: " +
           Number(static_cast<std::size_t>((size + 1023) / 1024)) +
           " KB, where a help page may take " + Number(limits.maxBytes / 1024) + " KB.";
  }
  const std::string lower = AsciiLower(html);
  return CostCounter(lower, limits).Run();
}

std::string RefusalNotice(std::string_view html, std::string_view reason) {
  // The title as the contents builder reads it, so that the page keeps its place in the tree.
  constexpr std::size_t kTitleSearch = 64 * 1024;
  const std::string head = AsciiLower(html.substr(0, kTitleSearch));
  std::string title;
  if (const std::size_t open = head.find("<title>"); open != npos) {
    const std::size_t from = open + 7;
    const std::size_t close = head.find("</title>", from);
    if (close != npos) title = HtmlToPlainText(html.substr(from, close - from));
  }
  return "<html><head><title>" + EscapeHtml(title) +
         "</title></head><body><p><b>This help page cannot be shown.</b></p><p>" +
         EscapeHtml(reason) + "</p></body></html>";
}

}  // namespace guideview
