#include "guidefetch/helpcommandline.h"

#include <QDir>
#include <QRegularExpression>

namespace guidefetch {

namespace {

bool IsBareSwitch(const QString& argument) {
  return argument.size() == 2 && argument[0] == u'/' && argument[1].isLetter();
}

bool IsJoinedSwitch(const QString& argument) {
  return argument.size() > 2 && argument[0] == u'/' && argument[1].isLetter();
}

}  // namespace

std::optional<HelpCommandLine> ParseHelpCommandLine(const QStringList& arguments) {
  HelpCommandLine line;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    QChar letter;
    QString value;
    if (IsBareSwitch(argument)) {
      letter = argument[1].toUpper();
      if (i + 1 < arguments.size()) value = arguments[++i].trimmed();
    } else if (IsJoinedSwitch(argument) && (!line.helpFolder.isEmpty() || argument[2].isSpace())) {
      letter = argument[1].toUpper();
      value = argument.mid(2).trimmed();
    } else {
      if (line.helpFolder.isEmpty() && !argument.trimmed().isEmpty()) {
        line.helpFolder = QDir::cleanPath(QDir::current().absoluteFilePath(argument.trimmed()));
      }
      continue;
    }
    if (letter == u'P') line.productCode = value.toUpper();
    if (letter == u'K') line.productName = value;
  }
  static const QRegularExpression code(QStringLiteral("^[A-Z0-9]{1,32}$"));
  if (line.helpFolder.isEmpty() || line.productName.isEmpty() ||
      !code.match(line.productCode).hasMatch()) {
    return {};
  }
  return line;
}

}  // namespace guidefetch
