#pragma once
// Pieces of the updaters' messages: a name or address from a server can be as long as a
// listing allows, and a message box grows with its longest unbroken word, so names are
// shortened in the middle; a reason clause ("it names a folder") becomes a sentence.

#include <QByteArray>
#include <QString>

namespace webupdate {

// text when it has at most maxLength characters, else its start and end around an ellipsis.
QString ShortName(const QString& text, qsizetype maxLength = 60);

// text with every run of non-blank characters longer than maxLength shortened by ShortName().
QString ShortenNames(const QString& text, qsizetype maxLength = 60);

// "it names a folder" -> "It names a folder."
QString Sentence(const QString& clause);

// A server's own text for a message: trimmed, at most 60 characters, printable ASCII only
// (anything else becomes "?").
QString ServerText(const QByteArray& text);

// A byte count for a person: "512 bytes", "1.5 MiB".
QString SizeText(qint64 bytes);

// A duration for a person: "0.5 seconds", "1 second", "45 seconds", "2 minutes", "9.1 hours".
QString DurationText(qint64 milliseconds);

}  // namespace webupdate
