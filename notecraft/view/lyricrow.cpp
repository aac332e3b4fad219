#include "notecraft/view/lyricrow.h"

#include <algorithm>

#include "harmonygrid/core/textutil.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/marksandtext.h"

namespace notecraft {

ShownSyllable ShowSyllable(std::string_view stored) {
  const std::string_view trimmed = harmonygrid::TrimSpaces(stored);
  if (trimmed.empty()) return {};
  if (trimmed.back() == '-') return {trimmed.substr(0, trimmed.size() - 1), true};
  return {stored, false};
}

std::vector<std::string_view> LyricVerses(std::string_view text) {
  std::vector<std::string_view> verses;
  for (;;) {
    const std::size_t cr = text.find('\r');
    verses.push_back(text.substr(0, cr));
    if (cr == std::string_view::npos) break;
    text.remove_prefix(cr + 1);
  }
  return verses;
}

void LyricRow::Draw(DrawContext& dc, int top, int right) const {
  struct Hyphen {
    bool Pending = false;
    int PreviousX = 0;  // the previous syllable's note
  };
  std::vector<Hyphen> hyphens;
  int edge = 0;
  for (const Entry& note : m_notes) {
    std::vector<std::string_view> verses;
    if (note.Lyric) verses = LyricVerses(*note.Lyric);
    hyphens.resize(std::max(verses.size(), hyphens.size()));
    for (std::size_t k = 0; k < hyphens.size(); ++k) {
      Hyphen& hyphen = hyphens[k];
      const int y = top + static_cast<int>(k) * kLyricLineTwips;
      if (k >= verses.size()) {
        if (hyphen.Pending)
          DrawSmallText(dc, "-", hyphen.PreviousX + (right - hyphen.PreviousX) / 2, y, edge);
        continue;
      }
      if (hyphen.Pending) {
        DrawSmallText(dc, "-", hyphen.PreviousX + (note.X - hyphen.PreviousX) / 2, y, edge);
        hyphen.Pending = false;
      }
      const ShownSyllable shown = ShowSyllable(verses[k]);
      hyphen.Pending = shown.Hyphen;
      hyphen.PreviousX = note.X;
      if (!shown.Text.empty()) DrawSmallText(dc, shown.Text, note.X, y, edge);
    }
  }
}

}  // namespace notecraft
