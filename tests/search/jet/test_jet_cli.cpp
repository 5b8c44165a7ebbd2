// A Jet jst.mdb in the program folder, searched end to end through the CLI.
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Fixtures = QStringLiteral(TAMVEX_FIXTURES_DIR "/jet");

QByteArray search(const QString &folder, const QString &query)
{
    QProcess cli;
    cli.start(QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli"), {u"search"_qs, u"--program-folder"_qs, folder, query});
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        return "(failed) " + cli.readAllStandardError();
    return cli.readAllStandardOutput();
}

QByteArray kwic(const QString &folder, const QString &query)
{
    QProcess cli;
    cli.start(QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli"),
              {u"kwic"_qs, u"--program-folder"_qs, folder, u"--width"_qs, u"2"_qs, query});
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        return "(failed) " + cli.readAllStandardError();
    return cli.readAllStandardOutput();
}

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
    void initTestCase();
    void listAllGivesEveryRowNewestFirst();
    void termFindsItsOneRow_data();
    void termFindsItsOneRow();
    void kwicReadsTheJetFileInTheSearchsOrder();

private:
    QTemporaryDir m_dir;
};

void TestJetCli::initTestCase()
{
    QVERIFY(QFile::copy(Fixtures + u"/jst_small.mdb"_qs, m_dir.filePath(u"jst.mdb"_qs)));
}

void TestJetCli::listAllGivesEveryRowNewestFirst()
{
    const QStringList lines = QString::fromUtf8(search(m_dir.path(), QString())).split(u'\n', Qt::SkipEmptyParts);

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

void TestJetCli::termFindsItsOneRow_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("row");
    QTest::newRow("character outside the BMP") << u"𠀀"_qs << u"卷三　僻字舉例\tbooks/b03/p009.htm"_qs;
    QTest::newRow("end of a 40 004-character memo") << u"（全文完）"_qs << u"卷五　醫案彙編\tbooks/b05/p011.htm"_qs;
    QTest::newRow("apostrophe") << u"it's"_qs << u"卷一　西人來書\tbooks/b01/p002.htm"_qs;
}

void TestJetCli::termFindsItsOneRow()
{
    QFETCH(QString, term);
    QFETCH(QString, row);
    QCOMPARE(QString::fromUtf8(search(m_dir.path(), term)), row + u'\n');
}


void TestJetCli::kwicReadsTheJetFileInTheSearchsOrder()
{
    // A character outside the BMP counts once in the context.
    const QStringList lines = QString::fromUtf8(kwic(m_dir.path(), u"𠀀"_qs)).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(!lines.isEmpty() && !lines.first().startsWith(u"(failed)"_qs), qPrintable(lines.join(u'\n')));
    for (const QString &line : lines) {
        const QStringList fields = line.split(u'\t');
        QCOMPARE(fields.size(), 5);
        QCOMPARE(fields.mid(0, 2).join(u'\t'), u"卷三　僻字舉例\tbooks/b03/p009.htm"_qs);
        QCOMPARE(fields.at(3), u"𠀀"_qs);
        QVERIFY(fields.at(2).toUcs4().size() <= 2 && fields.at(4).toUcs4().size() <= 2);
    }
    // Records in the order the search lists them.
    QStringList titles;
    for (const QString &line : QString::fromUtf8(kwic(m_dir.path(), u"+it's 卷"_qs)).split(u'\n', Qt::SkipEmptyParts))
        if (titles.isEmpty() || titles.last() != line.section(u'\t', 0, 1))
            titles << line.section(u'\t', 0, 1);
    const QStringList searched = QString::fromUtf8(search(m_dir.path(), u"+it's 卷"_qs)).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(!searched.isEmpty());
    QCOMPARE(titles, searched);
}
QTEST_GUILESS_MAIN(TestJetCli)
#include "test_jet_cli.moc"
