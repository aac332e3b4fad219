#include "Veltrimond/core/pagecommands.h"

#include <algorithm>
#include <utility>

namespace veltrimond {

std::optional<int> PageForKey(const QString& key, int curPage, int lastPage) {
  const QString k = key.toUpper();
  if (k == QLatin1String("FIRST")) {
    if (curPage > 1) return 1;
  } else if (k == QLatin1String("PREV")) {
    if (curPage >= 2) return curPage - 1;
  } else if (k == QLatin1String("NEXT")) {
    // "<=", not "<": the page after the last laid out is laid out when asked for.
    if (curPage >= 1 && curPage <= lastPage) return curPage + 1;
  } else if (k == QLatin1String("LAST")) {
    if (curPage < lastPage) return lastPage;
  }
  return std::nullopt;
}

PrintRangeOffer OfferPrintRange(int curPage, int lastPage) {
  PrintRangeOffer offer;
  offer.Max = std::max(lastPage, 1);
  offer.From = offer.To = std::clamp(curPage, offer.Min, offer.Max);
  return offer;
}

PageSpan ChosenPrintRange(const PrintRangeOffer& offer, bool pageRange, int from, int to) {
  if (!pageRange) return {offer.Min, offer.Max};
  // The dialog may hand back 0 for a box left empty.
  if (from < 1) from = offer.Min;
  if (to < 1) to = offer.Max;
  if (from > to) std::swap(from, to);
  return {std::clamp(from, offer.Min, offer.Max), std::clamp(to, offer.Min, offer.Max)};
}

}  // namespace veltrimond
