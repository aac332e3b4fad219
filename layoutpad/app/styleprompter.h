#pragma once
// The questions and messages of the style editor, behind an interface so that tests answer
// them without modal dialogs.

#include <QString>
#include <optional>

class QWidget;

namespace layoutpad {

enum class Answer { Yes, No, Cancel };

class StylePrompter {
public:
  virtual ~StylePrompter() = default;
  // Yes/No/Cancel with a question icon.
  virtual Answer Ask(QWidget* parent, const QString& title, const QString& text) = 0;
  // The Save As dialog ("Save Style") opened on the styles folder; nothing when cancelled.
  virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& folder) = 0;
  // A failure the user must know about.
  virtual void Tell(QWidget* parent, const QString& title, const QString& text) = 0;
};

class QtStylePrompter final : public StylePrompter {
public:
  Answer Ask(QWidget* parent, const QString& title, const QString& text) override;
  std::optional<QString> SaveFileName(QWidget* parent, const QString& folder) override;
  void Tell(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace layoutpad
