#pragma once
// The help folder's listing on the server ("Dir.htm"): "name | date" lines between the first
// <pre> (its own line skipped) and the next </pre>, and the rule for which files to fetch.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class QFileInfo;

namespace guidefetch {

struct HelpEntry {
  QString name;  // as listed, trimmed
  QString date;  // as listed, trimmed
};

// Lines without "|" and lines with an empty name are skipped; a page without <pre> lists
// nothing. Tags are found in any letter case; CR, CRLF and LF end lines.
QList<HelpEntry> ParseHelpListing(const QByteArray& page);

// A listed date in local time: ISO 8601 ("2024-03-05", "2024-03-05T14:30:00", with a blank
// for the T, seconds optional) or US month/day/year ("3/5/2024", "3/5/2024 2:30:00 PM",
// 24-hour or AM/PM, seconds optional), read in the C locale whatever the user's locale.
std::optional<QDateTime> ParseListedDate(const QString& text);

// Fetched when there is no local file, when its date cannot be read (the copy may be stale),
// or when the local file was modified strictly before the listed date.
bool NeedsFetch(const QFileInfo& local, const QString& listedDate);

}  // namespace guidefetch
