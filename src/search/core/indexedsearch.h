#pragma once

#include "failure.h"
#include "jetstatement.h"
#include "resultrow.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class CollectionIndex;
struct sqlite3;

// Opens a connection to the rows the index was made from (the SQLite file,
// or the in-memory copy of a Jet file), for confirming candidates.
using ContentOpener = std::function<Result<std::shared_ptr<sqlite3>>()>;

// Answers a statement from a term index that was made from the database as
// it is now, with the rows, order and outcome the statement has on SQLite:
// exact postings give the records without reading any content, other
// candidates are confirmed by the matcher on their content, read by row id.
// nullopt when the index cannot answer (the statement has another form, the
// index turned out damaged, or the file changed while candidates were
// read): the caller then runs the statement itself. interruptedFailure()
// when cancel (may be null) is set while candidates are read.
std::optional<Result<ResultRows>> answerFromIndex(const std::shared_ptr<const CollectionIndex> &index,
                                                  const JetStatement &statement, const QString &databasePath,
                                                  const ContentOpener &openContent,
                                                  const std::atomic<bool> *cancel = nullptr);
