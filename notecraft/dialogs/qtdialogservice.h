#pragma once
// The dialog service of Qt Widgets hosts: shows the library's prompts and property dialogs
// modally over the host's window. A host installs one for its lifetime:
//
//   notecraft::dialogs::QtDialogService dialogs(mainWindow);
//   notecraft::SetDialogService(&dialogs);   // and SetDialogService(nullptr) before it goes

#include <QPointer>
#include <QWidget>

#include "notecraft/core/dialogservice.h"

namespace notecraft::dialogs {

class QtDialogService final : public DialogService {
public:
  explicit QtDialogService(QWidget* parent = nullptr) : m_parent(parent) {}

  std::optional<DeleteStaffAnswer> AskDeleteStaff(Score& score, int staff) override;
  std::optional<DeleteMeasureAnswer> AskDeleteMeasure(Score& score, int measure) override;
  std::optional<InsertMeasureAnswer> AskInsertMeasure(Score& score, int measure,
                                                      bool after) override;
  std::optional<InsertStaffAnswer> AskInsertStaff(Score& score) override;
  void ShowProperties(Score& score, int dialog, std::optional<int> left,
                      std::optional<int> top) override;

private:
  QPointer<QWidget> m_parent;
};

}  // namespace notecraft::dialogs
