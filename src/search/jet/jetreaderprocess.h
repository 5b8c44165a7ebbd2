#pragma once

#include "failure.h"
#include "jetwireparser.h"

#include <QByteArray>
#include <QString>

// Runs the Jet reader child on one file and streams its output into a
// parser, within a time limit. The child is killed when the limit passes
// or the stream turns out malformed.
class JetReaderProcess {
public:
    JetReaderProcess(QString program, QString file, int timeoutMs);

    // Returns success when the child ran to its end record, exited normally
    // and every count agrees; otherwise a Failure whose description says what
    // happened (without naming the file: the caller does).
    Status run(JetWireParser &parser);

private:
    void keepDiagnostics(const QByteArray &more);
    QString diagnostics() const;
    Failure failure(const QString &why) const;
    Status verdict(const JetWireParser &parser, int exitCode) const;

    QString m_program;
    QString m_file;
    int m_timeoutMs;
    QByteArray m_stderrTail;
};
