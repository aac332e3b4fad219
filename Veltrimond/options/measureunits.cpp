#include "Veltrimond/options/measureunits.h"

#include <cmath>

#include "notecraft/core/common.h"
#include "notecraft/core/numeric.h"

namespace veltrimond {

double LeadingNumber(const QString& text) {
  int i = 0;
  const int n = static_cast<int>(text.size());
  while (i < n && text[i].isSpace()) ++i;
  const int start = i;
  if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) ++i;
  bool digits = false, point = false;
  for (; i < n; ++i) {
    const QChar c = text[i];
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
      digits = true;
    } else if (c == QLatin1Char('.') && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  bool ok = false;
  const double v = text.mid(start, i - start).toDouble(&ok);
  return ok && std::isfinite(v) ? v : 0;
}

QString FormatMeasure(int toUnit, double value, int fromUnit) {
  return QString::fromStdString(
      notecraft::FormatLength(toUnit, static_cast<float>(value), fromUnit));
}

double ParseMeasure(int toUnit, const QString& text, int fromUnit) {
  // Lengths are single precision; the settings file shows them as their shortest decimal.
  const float length = notecraft::ParseLength(toUnit, text.toStdString(), fromUnit);
  return QString::fromStdString(notecraft::FormatShortest(length)).toDouble();
}

}  // namespace veltrimond
