#pragma once
// The server listings' line rules: a line ends at a carriage return (with the one control
// character after it, usually a line feed, belonging to that end) or at a bare line feed,
// so listings written on any system read the same.

#include <QByteArray>
#include <QStringList>

namespace webupdate {

// The lines of a UTF-8 text, untrimmed; a last line without an end is kept.
QStringList SplitLines(const QByteArray& text);
QStringList SplitLines(const QString& text);

// The entries of an update listing: the header line skipped, each further line trimmed,
// empty lines skipped, and each line split at blanks into its words (first word = entry).
QList<QStringList> ListEntries(const QByteArray& text);

}  // namespace webupdate
