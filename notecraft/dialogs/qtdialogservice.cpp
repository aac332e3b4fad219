#include "notecraft/dialogs/qtdialogservice.h"

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/dialogs/frmctxdelmes.h"
#include "notecraft/dialogs/frmctxdelstaff.h"
#include "notecraft/dialogs/frmctxinsmes.h"
#include "notecraft/dialogs/frmctxinsstaff.h"
#include "notecraft/dialogs/frmctxmeasure.h"
#include "notecraft/dialogs/frmctxscore.h"
#include "notecraft/dialogs/frmctxstaff.h"

namespace notecraft::dialogs {

namespace {

// Shows a prompt centred and gives its answer only after Ok.
template <typename Form, typename Preset>
auto Ask(QWidget* parent, Score& score, Preset&& preset)
    -> std::optional<decltype(std::declval<Form&>().Answer())> {
  Form form(parent);
  form.Init(score);
  preset(form);
  form.PlaceAt(std::nullopt, std::nullopt);
  form.exec();
  if (TheCommon().DialogResult != 1) return std::nullopt;
  return form.Answer();
}

}  // namespace

std::optional<DeleteStaffAnswer> QtDialogService::AskDeleteStaff(Score& score, int staff) {
  return Ask<frmCTXDelStaff>(m_parent, score, [staff](frmCTXDelStaff& f) { f.SetStaff(staff); });
}

std::optional<DeleteMeasureAnswer> QtDialogService::AskDeleteMeasure(Score& score, int measure) {
  return Ask<frmCTXDelMes>(m_parent, score,
                           [measure](frmCTXDelMes& f) { f.SetMeasureNumber(measure); });
}

std::optional<InsertMeasureAnswer> QtDialogService::AskInsertMeasure(Score& score, int measure,
                                                                     bool after) {
  return Ask<frmCTXInsMes>(m_parent, score, [measure, after](frmCTXInsMes& f) {
    f.SetMeasureNumber(measure);
    f.SetAfter(after);
  });
}

std::optional<InsertStaffAnswer> QtDialogService::AskInsertStaff(Score& score) {
  return Ask<frmCTXInsStaff>(m_parent, score, [](frmCTXInsStaff&) {});
}

void QtDialogService::ShowProperties(Score& score, int dialog, std::optional<int> left,
                                     std::optional<int> top) {
  auto show = [&](auto& form) {
    form.PlaceAt(left, top);
    form.Init(score);
    form.exec();
  };
  if (dialog == dlgScoreProperties) {
    frmCTXScore form(m_parent);
    form.InitChordMapper(score.SharedChord());
    show(form);
  } else if (dialog == dlgStaffProperties) {
    frmCTXStaff form(m_parent);
    show(form);
  } else if (dialog == dlgMeasureProperties) {
    frmCTXMeasure form(m_parent);
    show(form);
  }
}

}  // namespace notecraft::dialogs
