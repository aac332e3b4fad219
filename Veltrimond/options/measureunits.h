#pragma once
// Page lengths as the user types and reads them: a number with its unit mark ("1\"",
// "25.4mm"). Units are MeasurementUnits: 0 inches, 1 millimetres, 2 twips. The conversions
// are the score engine's (FormatLength, ParseLength), so the Defaults dialog and the score's
// own dialogs show one length with the same figures.

#include <QString>

namespace veltrimond {

inline constexpr int kUnitInches = 0;
inline constexpr int kUnitMillimetres = 1;
inline constexpr int kUnitTwips = 2;

// value (in fromUnit) shown in toUnit with its mark: millimetres to a tenth, inches to a
// thousandth; no blank before the mark.
QString FormatMeasure(int toUnit, double value, int fromUnit);
// The leading number of text (0 when there is none; '.' or ',' before its fraction) in
// toUnit. A unit after the number ("2cm", "2.5 mm", "1\"") wins over fromUnit.
double ParseMeasure(int toUnit, const QString& text, int fromUnit);
// The leading number of text, read the same way in every locale: blanks, a sign, digits
// with one decimal point; 0 when there is none.
double LeadingNumber(const QString& text);

}  // namespace veltrimond
