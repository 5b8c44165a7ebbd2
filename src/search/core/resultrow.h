#pragma once

#include <QString>

#include <memory>
#include <vector>

// One row of a search: the record's title and the path of its page, both
// as stored (a NULL value reads as empty text).
struct ResultRow {
    QString subject;
    QString htm;
};

// The rows of a search in statement order. Rows answered from a term index
// point into its catalogue instead of holding copies of their texts (a list
// of every record is then no allocation a text): keepAlive holds the
// catalogue for as long as the rows live, and whoever keeps a text beyond
// the rows keeps an ownedCopy of it.
class ResultRows : public std::vector<ResultRow> {
public:
    using std::vector<ResultRow>::vector;
    std::shared_ptr<const void> keepAlive;
};

// A copy of a row's text that owns its characters.
inline QString ownedCopy(const QString &text)
{
    return QString(text.constData(), text.size());
}
