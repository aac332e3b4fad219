#pragma once
// The viewer's message boxes, behind an interface so that tests answer them.

#include <QString>

class QWidget;

namespace guideview {

class HelpPrompter {
public:
  virtual ~HelpPrompter() = default;
  // A message with an exclamation icon and an OK button.
  virtual void Exclamation(QWidget* parent, const QString& title, const QString& text) = 0;
};

class MessageBoxPrompter : public HelpPrompter {
public:
  void Exclamation(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace guideview
