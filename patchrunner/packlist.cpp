#include "patchrunner/packlist.h"

#include <QRegularExpression>
#include <QSet>
#include <cmath>

#include "webupdate/entrypath.h"
#include "webupdate/listlines.h"

namespace patchrunner {

namespace {

// The leading decimal number of text, as a BASIC-style Val reads it (0 when none).
double LeadingNumber(const QString& text) {
  static const QRegularExpression number(QStringLiteral("^\\s*([-+]?[0-9]*\\.?[0-9]*)"));
  const QString digits = number.match(text).captured(1);
  bool ok = false;
  const double value = digits.toDouble(&ok);
  return ok ? value : 0.0;
}

bool IsSha256(const QString& word) {
  static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{64}$"));
  return hex.match(word).hasMatch();
}

}  // namespace

QString VersionDigits(const QString& version) {
  if (!version.contains(u'.')) return {};
  QString digits;
  for (const QString& part : version.split(u'.')) digits += (QStringLiteral("00") + part).right(2);
  return digits;
}

QString UpdateFolder(const QString& productCode, const QString& version) {
  return QStringLiteral("Common/Updates/%1/V%2/").arg(productCode, VersionDigits(version));
}

bool IsValidPackName(const QString& name) {
  static const QRegularExpression pack(QStringLiteral("^[A-Za-z]{2}[0-9]+[A-Za-z0-9]*$"));
  return name.size() <= 32 && pack.match(name).hasMatch();
}

int PackNumber(const QString& name) {
  // Round half to even, as the whole-number conversion of the stored values always did.
  const double value = std::nearbyint(LeadingNumber(name.mid(2)));
  if (!(std::abs(value) < 1e9)) return 0;
  return static_cast<int>(value);
}

std::optional<QString> HighestPack(const QByteArray& updateList) {
  std::optional<QString> highest;
  int highestNumber = 0;
  for (const QStringList& words : webupdate::ListEntries(updateList)) {
    const QString& name = words.first();
    if (!IsValidPackName(name)) continue;
    const int number = PackNumber(name);
    if (!highest || number > highestNumber) {
      highest = name;
      highestNumber = number;
    }
  }
  return highest;
}

QString BackupName(const QString& fileName, int position) {
  const QString name = fileName.section(u'/', -1);
  const qsizetype dot = name.indexOf(u'.');
  return QStringLiteral("UP%1").arg(position, 3, 10, QChar(u'0')) +
         (dot < 0 ? QString() : name.mid(dot));
}

PackFileList ReadPackFiles(const QByteArray& fileList, const QString& installFolder,
                           const QString& reservedFolder, bool requireHashes) {
  PackFileList list;
  QSet<QString> targets;
  const auto refuse = [&list](const QString& name, const QString& reason) {
    list.files.clear();
    list.refused = name;
    list.reason = reason;
    return list;
  };
  for (const QStringList& words : webupdate::ListEntries(fileList)) {
    PackFile file;
    file.listed = words.first();
    QString why;
    const std::optional<QString> path = webupdate::CheckEntryName(file.listed, &why);
    if (!path) return refuse(file.listed, why);
    if (path->section(u'/', 0, 0) == reservedFolder) {
      return refuse(file.listed, QStringLiteral("it names the updater's working folder"));
    }
    const std::optional<QString> target = webupdate::ResolveInside(installFolder, *path, &why);
    if (!target) return refuse(file.listed, why);
    if (targets.contains(*target)) return refuse(file.listed, QStringLiteral("it is listed twice"));
    if (words.size() > 1 && IsSha256(words[1])) file.sha256 = words[1].toLower().toLatin1();
    if (requireHashes && file.sha256.isEmpty()) {
      return refuse(file.listed, QStringLiteral("it comes without a checksum"));
    }
    targets.insert(*target);
    file.relativePath = *path;
    file.target = *target;
    list.files.append(file);
  }
  return list;
}

}  // namespace patchrunner
