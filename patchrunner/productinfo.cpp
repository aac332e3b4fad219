#include "patchrunner/productinfo.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace patchrunner {

ProductInfo ReadProductInfo(const QString& name, const SettingsAccess& settings) {
  const QString main = QStringLiteral("Main");
  ProductInfo product;
  product.name = name;
  product.code = settings.Read(main, QStringLiteral("ID"));
  product.build = settings.Read(main, QStringLiteral("Build"), QStringLiteral("0000"));
  product.version = settings.Read(main, QStringLiteral("Version"), QStringLiteral("0.0.0"));
  product.update = settings.Read(main, QStringLiteral("Update"));
  product.path = settings.Read(main, QStringLiteral("Path"));
  return product;
}

QString VersionCaption(const ProductInfo& product) {
  return product.update.isEmpty() ? product.version
                                  : product.version + QStringLiteral(" (") + product.update + u')';
}

bool IsValidProductName(const QString& name) {
  static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9 ._-]{1,64}$"));
  return allowed.match(name).hasMatch() && !name.contains(QStringLiteral("..")) &&
         name.trimmed() == name;
}

QString CheckProduct(const ProductInfo& product) {
  static const QRegularExpression code(QStringLiteral("^[A-Za-z0-9_-]{1,32}$"));
  if (!code.match(product.code).hasMatch()) {
    return QStringLiteral(
               "The product code of %1 is not known, so its updates cannot be found. "
               "Start %1 once, then try again.")
        .arg(product.name);
  }
  // The version forms a folder of the update server's path.
  static const QRegularExpression version(QStringLiteral("^[0-9]+(\\.[0-9]+)*$"));
  if (!version.match(product.version).hasMatch()) {
    return QStringLiteral(
               "The version \"%1\" of %2 is not a version number, so its updates "
               "cannot be found.")
        .arg(product.version, product.name);
  }
  const QFileInfo folder(product.path);
  if (product.path.isEmpty() || !folder.isAbsolute() || !folder.isDir()) {
    return QStringLiteral(
               "The install folder of %1 is not known, so no update can be "
               "installed. Start %1 once, then try again.")
        .arg(product.name);
  }
  return {};
}

}  // namespace patchrunner
