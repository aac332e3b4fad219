#include "guideview/core/pagescanner.h"

#include "guideview/core/pagetext.h"

namespace guideview {

namespace {

constexpr auto npos = std::string_view::npos;

// The next occurrence of a needle at or after a position, in a line searched with ever larger
// positions. The last answer is kept while it still lies ahead, so each needle costs one pass
// over the line however many constructs the line holds.
class Finder {
public:
  Finder(std::string_view haystack, std::string_view needle)
      : m_haystack(haystack), m_needle(needle) {}

  std::size_t From(std::size_t pos) {
    if (m_searched && pos >= m_from && (m_found == npos || m_found >= pos)) return m_found;
    m_from = pos;
    m_found = pos > m_haystack.size() ? npos : m_haystack.find(m_needle, pos);
    m_searched = true;
    return m_found;
  }

private:
  std::string_view m_haystack;
  std::string_view m_needle;
  std::size_t m_from = 0;
  std::size_t m_found = npos;
  bool m_searched = false;
};

// A tag with one attribute value ("<A " ... "HREF=" value).
struct TaggedValue {
  enum class State { None, Malformed, Found } state = State::None;
  std::size_t tag = 0;  // where the tag word starts
  std::string_view value;
  std::size_t close = 0;  // the ">" after the value
};

class LineScanner {
public:
  LineScanner(std::string_view line, std::string_view lower)
      : m_line(line),
        m_lower(lower),
        m_quote(line, "\""),
        m_gt(line, ">"),
        m_linkTag(lower, "<a "),
        m_href(lower, "href="),
        m_linkEnd(lower, "</a>"),
        m_imgTag(lower, "<img "),
        m_src(lower, "src="),
        m_idxTag(lower, "<idx "),
        m_group(lower, "group="),
        m_titleTag(lower, "<title>"),
        m_titleEnd(lower, "</title>") {}

  // A value quoted by a double quote right after "=" runs to the next double quote; any other
  // value runs to the next ">", taking in any later attributes.
  TaggedValue FindValue(Finder& tag, std::size_t tagLength, Finder& attribute,
                        std::size_t attributeLength, std::size_t pos) {
    TaggedValue found;
    std::size_t t = tag.From(pos);
    if (t == npos) return found;
    std::size_t a = attribute.From(t + tagLength);
    if (a == npos) return found;  // no later tag of this kind can have the attribute either
    found.tag = t;
    found.state = TaggedValue::State::Malformed;
    std::size_t v = a + attributeLength;
    if (v < m_line.size() && m_line[v] == '"') {
      std::size_t q = m_quote.From(v + 1);
      if (q == npos) return found;
      std::size_t close = m_gt.From(q + 1);
      if (close == npos) return found;
      found.value = m_line.substr(v + 1, q - v - 1);
      found.close = close;
    } else {
      std::size_t close = m_gt.From(v);
      if (close == npos) return found;
      found.value = m_line.substr(v, close - v);
      found.close = close;
    }
    found.state = TaggedValue::State::Found;
    return found;
  }

  std::string_view m_line;
  std::string_view m_lower;
  Finder m_quote, m_gt;
  Finder m_linkTag, m_href, m_linkEnd;
  Finder m_imgTag, m_src;
  Finder m_idxTag, m_group;
  Finder m_titleTag, m_titleEnd;
};

void AppendCapped(std::string& text, std::string_view piece) {
  if (text.size() >= kMaxConstructText) return;
  text.append(piece.substr(0, kMaxConstructText - text.size()));
}

class PageScanner {
public:
  explicit PageScanner(bool findImages) : m_findImages(findImages) {}

  void ScanLine(std::string_view line) {
    std::string lower = AsciiLower(line);
    LineScanner scan(line, lower);
    std::size_t pos = 0;
    if (m_isOpen) {
      Finder& end = m_open.kind == PageConstruct::Kind::Link ? scan.m_linkEnd : scan.m_titleEnd;
      AppendCapped(m_open.text, "\n");
      if (!CollectText(end, line, 0, pos)) return;
    }
    while (pos < line.size()) {
      TaggedValue link = scan.FindValue(scan.m_linkTag, 3, scan.m_href, 5, pos);
      if (link.state == TaggedValue::State::Found) {
        Open(PageConstruct::Kind::Link, link.value);
        if (!CollectText(scan.m_linkEnd, line, link.close + 1, pos)) return;
        continue;
      }
      if (link.state == TaggedValue::State::Malformed) {
        pos = link.tag + 3;  // skip the broken tag, read on behind it
        continue;
      }
      if (m_findImages) {
        TaggedValue image = scan.FindValue(scan.m_imgTag, 5, scan.m_src, 4, pos);
        if (image.state != TaggedValue::State::None) {
          if (image.state == TaggedValue::State::Found)
            Add(PageConstruct::Kind::Image, image.value);
          pos = image.state == TaggedValue::State::Found ? image.close + 1 : image.tag + 5;
          continue;
        }
      }
      TaggedValue group = scan.FindValue(scan.m_idxTag, 5, scan.m_group, 6, pos);
      if (group.state != TaggedValue::State::None) {
        if (group.state == TaggedValue::State::Found)
          Add(PageConstruct::Kind::KeywordGroup, group.value);
        pos = group.state == TaggedValue::State::Found ? group.close + 1 : group.tag + 5;
        continue;
      }
      std::size_t title = scan.m_titleTag.From(pos);
      if (title == npos) return;  // nothing more on this line
      Open(PageConstruct::Kind::Title, {});
      if (!CollectText(scan.m_titleEnd, line, title + 7, pos)) return;
    }
  }

  std::vector<PageConstruct> Finish() {
    if (m_isOpen) {
      m_open.closed = false;
      m_constructs.push_back(std::move(m_open));
      m_isOpen = false;
    }
    return std::move(m_constructs);
  }

private:
  void Add(PageConstruct::Kind kind, std::string_view value) {
    PageConstruct c;
    c.kind = kind;
    c.value = value;
    m_constructs.push_back(std::move(c));
  }

  void Open(PageConstruct::Kind kind, std::string_view value) {
    m_open = PageConstruct{};
    m_open.kind = kind;
    m_open.value = value;
    m_isOpen = true;
  }

  // Appends the open element's text from `start` up to its closing tag. Returns true with `pos`
  // behind the tag when the tag is on this line; false when the text goes on to the next line.
  bool CollectText(Finder& end, std::string_view line, std::size_t start, std::size_t& pos) {
    std::size_t e = start > line.size() ? npos : end.From(start);
    if (e == npos) {
      if (start < line.size()) AppendCapped(m_open.text, line.substr(start));
      return false;
    }
    AppendCapped(m_open.text, line.substr(start, e - start));
    m_constructs.push_back(std::move(m_open));
    m_isOpen = false;
    const std::size_t tagLength = m_constructs.back().kind == PageConstruct::Kind::Link ? 4 : 8;
    pos = e + tagLength;
    return true;
  }

  bool m_findImages;
  bool m_isOpen = false;
  PageConstruct m_open;  // the link or title whose closing tag is still to come
  std::vector<PageConstruct> m_constructs;
};

}  // namespace

std::vector<PageConstruct> ScanPage(std::string_view text, bool findImages) {
  PageScanner scanner(findImages);
  for (std::string_view line : SplitLines(text)) scanner.ScanLine(line);
  return scanner.Finish();
}

}  // namespace guideview
