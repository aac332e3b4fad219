#pragma once
// Page lengths as the user types and reads them: a number with its unit mark ("1\"",
// "25.4mm"). Units are MeasurementUnits: 0 inches, 1 millimetres, 2 twips. Rounding is to
// the nearest whole number with halves to even, so a value shown and typed back stays put.

#include <QString>

namespace veltrimond {

inline constexpr int kUnitInches = 0;
inline constexpr int kUnitMillimetres = 1;
inline constexpr int kUnitTwips = 2;

// value (in fromUnit) shown in toUnit with its mark: millimetres to one decimal, twips to
// inches in thousandths; no blank before the mark.
QString FormatMeasure(int toUnit, double value, int fromUnit);
// The leading number of text (0 when there is none) in toUnit. A unit after the whole
// number ("2cm", "3 mm", "1\"") wins over fromUnit; the unit is looked for from the first
// character that is not a digit, so after a decimal point ("2.5mm") fromUnit applies.
double ParseMeasure(int toUnit, const QString& text, int fromUnit);
// The leading number of text, read the same way in every locale: blanks, a sign, digits
// with one decimal point; 0 when there is none.
double LeadingNumber(const QString& text);

}  // namespace veltrimond
