#include "indexprogress.h"

#include <QCoreApplication>
#include <QString>

#include <unistd.h>

IndexProgress::IndexProgress(std::FILE *out) : m_out(out), m_terminal(::isatty(::fileno(out)) == 1)
{
    m_clock.start();
}

void IndexProgress::show(const BuildProgress &p)
{
    m_last = p;
    const qint64 now = m_clock.elapsed();
    if (!m_terminal || now - m_lastDrawMs < 100)
        return;
    m_lastDrawMs = now;
    const double seconds = std::max(0.001, double(now) / 1000.0);
    const double share = p.recordsTotal ? double(p.recordsDone) / double(p.recordsTotal) : 0.0;
    const int width = 30;
    const int filled = int(share * width);
    const double left = share > 0.01 ? seconds * (1.0 - share) / share : 0.0;
    const QString line = QStringLiteral("\r") + QCoreApplication::translate("TamvexCli", "[%1%2] %3/%4 records  %5 MB/s  %6 s left ")
                             .arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char('.')))
                             .arg(p.recordsDone)
                             .arg(p.recordsTotal)
                             .arg(double(p.contentBytesDone) / 1e6 / seconds, 0, 'f', 1)
                             .arg(left, 0, 'f', 0);
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), m_out);
    std::fflush(m_out);
    m_drawn = true;
}

void IndexProgress::finish()
{
    if (!m_drawn)
        return;
    m_lastDrawMs = -1000; // the last state, whenever the bar was drawn
    show(m_last);
    std::fputc('\n', m_out);
}
