#pragma once
// GoogleTest shows a QString as its text.

#include <ostream>

#include <QString>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
