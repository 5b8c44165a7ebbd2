#pragma once

#include "failure.h"
#include "jetwireparser.h"

#include <sqlite3.h>

#include <memory>

// Builds the in-memory SQLite copy of maindata from the rows of the wire
// stream: one transaction, one prepared insert, values bound in place.
class JetSqliteLoader : public JetWireParser::RowSink {
public:
    JetSqliteLoader();
    ~JetSqliteLoader() override;
    JetSqliteLoader(const JetSqliteLoader &) = delete;
    JetSqliteLoader &operator=(const JetSqliteLoader &) = delete;

    // Creates the database and table and opens the transaction.
    Status begin();
    bool addRow(const JetWireParser::Value *values, QString &why) override;
    // Commits and hands the database over; the loader is spent afterwards.
    Result<std::shared_ptr<sqlite3>> finish();

private:
    QString lastError() const;

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_insert = nullptr;
};
