#include "Veltrimond/options/measureunits.h"

#include <cmath>

namespace veltrimond {

namespace {

double Round(double v) {
  return std::nearbyint(v);
}

QString Number(double v) {
  // Settings hold single precision; seven digits show them as typed.
  return QString::number(v, 'g', 7);
}

}  // namespace

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
  if (toUnit == kUnitMillimetres) {
    double mm = value;
    if (fromUnit == kUnitInches) mm = Round(value * 1000 / 3.94) / 10;
    if (fromUnit == kUnitTwips) mm = Round(value * 100 / 567) / 10;
    return Number(mm) + QStringLiteral("mm");
  }
  double inches = value;
  if (fromUnit == kUnitMillimetres) inches = Round(value * 100 / 254) / 10;
  if (fromUnit == kUnitTwips) inches = Round(value * 1000 / 1440) / 1000;
  return Number(inches) + QLatin1Char('"');
}

double ParseMeasure(int toUnit, const QString& text, int fromUnit) {
  double number = LeadingNumber(text);
  int unit = fromUnit;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) continue;
    const QString mark = text.mid(i).trimmed().toUpper();
    if (mark == QLatin1String("CM")) {
      number *= 10;
      unit = kUnitMillimetres;
    } else if (mark == QLatin1String("MM")) {
      unit = kUnitMillimetres;
    } else if (mark == QLatin1String("\"")) {
      unit = kUnitInches;
    }
    break;
  }
  if (toUnit == kUnitInches)
    return unit == kUnitMillimetres ? Round(number * 100 / 25.4) / 100 : number;
  if (toUnit == kUnitMillimetres)
    return unit == kUnitInches ? Round(number * 25.4 * 10) / 10 : number;
  if (unit == kUnitTwips) return Round(number);
  return unit == kUnitInches ? Round(number * 1440) : Round(number * 56.69);
}

}  // namespace veltrimond
