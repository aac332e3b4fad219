#pragma once
// Small scores for the dialog tests, and a way to drive a modal dialog from a test.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"

namespace notecraft::dialogs::testing {

// A default score (one staff, common time) with `staves` staves described by `names` in
// order ("" leaves a staff undescribed).
inline std::unique_ptr<Score> MakeScore(std::initializer_list<const char*> names = {"Piano"}) {
  auto score = std::make_unique<Score>();
  score->CreateDefault();
  int i = 0;
  for (const char* name : names) {
    ++i;
    if (i > 1) score->AllStaffs().AddStaff(Internal{}, score->AllStaffs().NewID(), "");
    score->Staff(i)->SetDescription(name);
  }
  score->SetChanged(false);
  return score;
}

// Runs action once a widget of type T is the active modal widget, while the code under test
// waits in exec().
template <class T>
void WhenModal(std::function<void(T&)> action, int triesLeft = 500) {
  QTimer::singleShot(5, [action = std::move(action), triesLeft]() mutable {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      action(*dialog);
    } else if (triesLeft > 0) {
      WhenModal<T>(std::move(action), triesLeft - 1);
    }
  });
}

// A control of a dialog by its object name; fails the test when missing.
template <class W>
W* Control(QWidget& dialog, const char* name) {
  auto* w = dialog.findChild<W*>(QString::fromLatin1(name));
  if (!w) ADD_FAILURE() << "no control " << name;
  return w;
}

}  // namespace notecraft::dialogs::testing
