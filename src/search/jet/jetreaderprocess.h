#pragma once

#include "failure.h"
#include "jetwireparser.h"

#include <QByteArray>
#include <QString>

#include <atomic>

// Runs the Jet reader child on one file and streams its output into a
// parser, within a time limit. The child is killed when the limit passes,
// the stream turns out malformed or the cancel flag (may be null) is set.
class JetReaderProcess {
public:
    JetReaderProcess(QString program, QString file, int timeoutMs, const std::atomic<bool> *cancel = nullptr);

    // Returns success when the child ran to its end record, exited normally
    // and every count agrees; interruptedFailure() when cancelled; otherwise
    // a Failure whose description says what happened (without naming the
    // file: the caller does).
    Status run(JetWireParser &parser);

private:
    void keepDiagnostics(const QByteArray &more);
    QString diagnostics() const;
    Failure failure(const QString &why) const;
    Status verdict(const JetWireParser &parser, int exitCode) const;

    QString m_program;
    QString m_file;
    int m_timeoutMs;
    const std::atomic<bool> *m_cancel;
    QByteArray m_stderrTail;
};
