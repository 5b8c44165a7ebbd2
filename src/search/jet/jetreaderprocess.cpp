#include "jetreaderprocess.h"

#include <QCoreApplication>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <utility>

namespace {

constexpr qsizetype DiagnosticsKept = 4096;
constexpr qint64 ReadChunk = 1 << 20;
// Also how soon a cancel is seen while the child is quiet.
constexpr int PollMs = 50;

// Moves what the child wrote so far into the parser.
bool drain(QProcess &process, JetWireParser &parser)
{
    while (process.bytesAvailable() > 0) {
        const QByteArray chunk = process.read(std::min(process.bytesAvailable(), ReadChunk));
        if (!parser.feed(chunk.constData(), chunk.size()))
            return false;
    }
    return true;
}

void stop(QProcess &process)
{
    process.kill();
    process.waitForFinished(5000);
}
}

JetReaderProcess::JetReaderProcess(QString program, QString file, int timeoutMs, const std::atomic<bool> *cancel)
    : m_program(std::move(program)), m_file(std::move(file)), m_timeoutMs(timeoutMs), m_cancel(cancel)
{
}

void JetReaderProcess::keepDiagnostics(const QByteArray &more)
{
    // A looping library may print without end: keep only the latest lines.
    m_stderrTail.append(more);
    if (m_stderrTail.size() > 2 * DiagnosticsKept)
        m_stderrTail = m_stderrTail.right(DiagnosticsKept);
}

QString JetReaderProcess::diagnostics() const
{
    const QStringList lines = QString::fromUtf8(m_stderrTail).split(u'\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last().trimmed();
}

Failure JetReaderProcess::failure(const QString &why) const
{
    const QString said = diagnostics();
    return Failure{FailureNumber::JetRead,
                   said.isEmpty() ? why : QCoreApplication::translate("JetReaderProcess", "%1 (reader: %2)").arg(why, said)};
}

Status JetReaderProcess::run(JetWireParser &parser)
{
    if (!QFileInfo(m_program).isExecutable())
        return Failure{FailureNumber::JetRead,
                       QCoreApplication::translate("JetReaderProcess", "the Jet reader program '%1' is missing or cannot be run").arg(m_program)};
    QProcess process;
    process.setProgram(m_program);
    process.setArguments({m_file});
    QElapsedTimer clock;
    clock.start();
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(std::max(m_timeoutMs, 1000)))
        return Failure{FailureNumber::JetRead,
                       QCoreApplication::translate("JetReaderProcess", "the Jet reader program '%1' could not be started: %2").arg(m_program, process.errorString())};
    for (;;) {
        const bool fed = drain(process, parser);
        keepDiagnostics(process.readAllStandardError());
        if (!fed) {
            stop(process);
            return failure(parser.problem());
        }
        if (process.state() == QProcess::NotRunning)
            break;
        if (m_cancel && m_cancel->load(std::memory_order_relaxed)) {
            stop(process);
            return interruptedFailure();
        }
        const qint64 left = m_timeoutMs - clock.elapsed();
        if (left <= 0) {
            stop(process);
            return failure(QCoreApplication::translate("JetReaderProcess", "reading took longer than %1 seconds and was stopped; the file may be damaged")
                               .arg(m_timeoutMs / 1000.0));
        }
        process.waitForReadyRead(int(std::min<qint64>(left, PollMs)));
    }
    if (!drain(process, parser))
        return failure(parser.problem());
    keepDiagnostics(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit)
        return failure(QCoreApplication::translate("JetReaderProcess", "the Jet reader stopped abnormally; the file may be damaged"));
    return verdict(parser, process.exitCode());
}

Status JetReaderProcess::verdict(const JetWireParser &parser, int exitCode) const
{
    if (parser.errorSeen())
        return failure(parser.childError());
    if (!parser.endSeen() || parser.hasPartialRecord() || exitCode != 0)
        return failure(QCoreApplication::translate("JetReaderProcess", "the Jet reader's output ended early (exit code %1)").arg(exitCode));
    if (parser.rowsParsed() != parser.rowsWritten())
        return failure(QCoreApplication::translate("JetReaderProcess", "the Jet reader sent %1 rows but counted %2").arg(parser.rowsParsed()).arg(parser.rowsWritten()));
    if (parser.rowsWritten() != parser.numRows())
        return failure(QCoreApplication::translate("JetReaderProcess", "%1 rows of table maindata could be read, but the table holds %2; the file is damaged")
                           .arg(parser.rowsWritten())
                           .arg(parser.numRows()));
    return {};
}
