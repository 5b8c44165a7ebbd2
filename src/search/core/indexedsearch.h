#pragma once

#include "failure.h"
#include "jetstatement.h"
#include "resultrow.h"

#include <optional>

class CollectionIndex;

// Answers a statement from a term index that was made from the database as
// it is now, with the rows, order and outcome the statement has on SQLite:
// exact postings give the records without reading any content, other
// candidates are confirmed by the matcher on their content, read by row id.
// nullopt when the index cannot answer (the statement has another form, the
// index turned out damaged, or the file changed while candidates were
// read): the caller then runs the statement itself.
std::optional<Result<ResultRows>> answerFromIndex(const CollectionIndex &index, const JetStatement &statement,
                                                  const QString &databasePath);
