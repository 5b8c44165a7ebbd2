#pragma once

#include <QString>

#include <vector>

// One row of a search: the record's title and the path of its page, both
// as stored (a NULL value reads as empty text).
struct ResultRow {
    QString subject;
    QString htm;
};

using ResultRows = std::vector<ResultRow>;
