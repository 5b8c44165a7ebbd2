#pragma once

#include "concordancesource.h"

#include <optional>

class ConcordanceQuery;
class TermIndexRegistry;

// The concordance of query read through the term index of the SQLite file
// at databasePath, made from the file as it is now: only the records the
// index names are read, by row id, in the result list's order (the index
// numbers its records that way), and titles and page paths come from its
// catalogue. nullopt when there is no such index, it cannot answer (or
// turned out damaged), its candidates are more than a fifth of the records
// (a scan is faster then) or the file could not be read so: the caller then
// reads the whole table.
std::optional<ConcordanceOutcome> readConcordanceWithIndex(TermIndexRegistry &registry, const QString &databasePath,
                                                           const ConcordanceQuery &query, int width);
