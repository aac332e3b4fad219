#include "notecraft/dialogs/promptlists.h"

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"

namespace notecraft::dialogs {

std::vector<std::string> StaffListItems(const Score& score) {
  std::vector<std::string> items{"First", "Last"};
  for (const auto& staff : score.AllStaffs()) {
    std::string item = std::to_string(staff->Index());
    if (!staff->Description().empty()) item += ": " + staff->Description();
    items.push_back(std::move(item));
  }
  return items;
}

std::vector<InstrumentChoice> InstrumentChoices(int category) {
  std::vector<InstrumentChoice> choices;
  const InstrumentTable& table = TheCommon().Instruments;
  for (int r = 0; r < InstrumentTable::kRows; ++r) {
    const InstrumentRow& row = table.Row(r);
    if (category == catSolo || row.Category == category)
      choices.push_back({row.Description, row.Value});
  }
  return choices;
}

}  // namespace notecraft::dialogs
