// A Jet jst.mdb in the program folder, searched end to end through the CLI.
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Fixtures = QStringLiteral(TAMVEX_SHARED_DIR "/fixtures/jet");

struct ExpectedRow {
    QString subjectAndHtm;
    QString date;
};

// subject TAB htm and the date of every row of the ground-truth file.
QList<ExpectedRow> expectedRows()
{
    QFile file(Fixtures + u"/jst_small.expected.tsv"_qs);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    lines.removeFirst();
    QList<ExpectedRow> rows;
    for (const QString &line : lines) {
        const QStringList f = line.split(u'\t');
        rows.append({f[0] + u'\t' + f[1], f[4]});
    }
    return rows;
}
}

class TestJetCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listAllGivesEveryRowNewestFirst();
};

void TestJetCli::listAllGivesEveryRowNewestFirst()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(Fixtures + u"/jst_small.mdb"_qs, dir.filePath(u"jst.mdb"_qs)));
    QProcess cli;
    cli.start(QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli"), {u"search"_qs, u"--program-folder"_qs, dir.path(), QString()});
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
    const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);

    const QList<ExpectedRow> expected = expectedRows();
    QHash<QString, QString> dateOf;
    for (const ExpectedRow &row : expected)
        dateOf.insert(row.subjectAndHtm, row.date);
    QCOMPARE(lines.size(), expected.size());
    QSet<QString> seen;
    QString previousDate = u"9999"_qs;
    for (const QString &line : lines) {
        QVERIFY2(dateOf.contains(line), qPrintable(line));
        QVERIFY2(!seen.contains(line), qPrintable(line));
        seen.insert(line);
        // Rows of equal date may come in either order; dates never rise.
        QVERIFY2(dateOf.value(line) <= previousDate, qPrintable(line));
        previousDate = dateOf.value(line);
    }
}

QTEST_GUILESS_MAIN(TestJetCli)
#include "test_jet_cli.moc"
