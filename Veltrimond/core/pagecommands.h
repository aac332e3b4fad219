#pragma once
// The score window's page commands as plain rules: where the toolbar's page buttons go, and
// which pages the print dialog offers and prints.

#include <QString>
#include <optional>

namespace veltrimond {

// The page a navigation key ("FIRST", "PREV", "NEXT", "LAST", any letter case) asks the
// score for, from the current page and the last page laid out so far; nothing at the ends.
// NEXT on the last page laid out asks for the one after it, which the score lays out on
// demand.
std::optional<int> PageForKey(const QString& key, int curPage, int lastPage);

// What the print dialog offers: pages min..max, with from..to preset to the page shown.
struct PrintRangeOffer {
  int Min = 1;
  int Max = 1;
  int From = 1;
  int To = 1;
};
// lastPage must count every page (the layout finished); the current page is kept inside.
PrintRangeOffer OfferPrintRange(int curPage, int lastPage);

// The pages to print after the dialog: the range typed (ordered and kept inside the offer)
// when a page range was chosen, else every page of the offer.
struct PageSpan {
  int From = 1;
  int To = 1;
};
PageSpan ChosenPrintRange(const PrintRangeOffer& offer, bool pageRange, int from, int to);

}  // namespace veltrimond
