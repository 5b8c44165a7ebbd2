#pragma once

#include "concordance.h"
#include "failure.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// File forms of the concordance lines.
enum class ConcordanceFormat {
    Tsv, // UTF-8, tab between fields, LF after each line; tabs and line ends in a field read as blanks
    Csv, // UTF-8 with a byte order mark (so that spreadsheets read it as UTF-8), RFC 4180 quoting, CR LF
};

// The lines (indexes into concordance.lines, in that order) as text: title,
// page path, left, hit, right; with header, a first line naming the fields
// "title", "page", "left", "hit", "right".
QByteArray concordanceText(const Concordance &concordance, const std::vector<std::uint32_t> &lines,
                           ConcordanceFormat format, bool header);

// Writes bytes to path through a temporary file in the same folder that
// then takes the file's name, so that a failed write leaves whatever was at
// path untouched and no partial file. Failure (PathAccess): the reason,
// naming the file.
Status writeConcordanceFile(const QString &path, const QByteArray &bytes);
