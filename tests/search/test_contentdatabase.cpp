#include "contentdatabase.h"
#include "queryplan.h"
#include "testdatabase.h"

#include <QDir>

#include <cstdio>
#include <QTemporaryDir>
#include <QTest>

class TestContentDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void queriesGiveTheirRowsInOrder_data();
    void queriesGiveTheirRowsInOrder();
    void hostileQueriesRunOnlyTheSelect_data();
    void hostileQueriesRunOnlyTheSelect();
    void unusableDatabasesFailClearly_data();
    void unusableDatabasesFailClearly();
    void emptyTableGivesNoRow();
    void unreadablePatternFailsEvenOnEmptyTable();
    void aChangedFileIsReadAfresh();
    void aLinkedFileIsTheFileItself();

private:
    Result<ResultRows> search(const QString &box, const QString &folder = QString());
    QTemporaryDir m_dir;
};

void TestContentDatabase::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeTestDatabase(m_dir.path(), standardRecords()));
}

Result<ResultRows> TestContentDatabase::search(const QString &box, const QString &folder)
{
    const QueryPlan plan = buildQuery(trimBlanks(box));
    return ContentDatabase::runStatement(DatabaseLocation::inFolder(folder.isEmpty() ? m_dir.path() : folder),
                                         plan.SqlText);
}

void TestContentDatabase::queriesGiveTheirRowsInOrder_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("subjects");
    QTest::newRow("list all, newest first, null content listed")
        << QString() << QStringList{u"空白"_qs, u"溫病 發熱"_qs, u"醫者's note"_qs, u"小寫"_qs, u"傷寒論 發熱"_qs, u"空字串"_qs, u"頭痛論"_qs};
    QTest::newRow("all terms") << u"發熱 頭痛"_qs << QStringList{u"傷寒論 發熱"_qs};
    QTest::newRow("all terms with prefix") << u"-發熱"_qs << QStringList{u"溫病 發熱"_qs, u"傷寒論 發熱"_qs};
    QTest::newRow("any term keeps storage order") << u"+頭痛 渴"_qs << QStringList{u"傷寒論 發熱"_qs, u"溫病 發熱"_qs, u"頭痛論"_qs};
    QTest::newRow("empty term finds every non-null content") << u"+麻黃  麻黃"_qs
        << QStringList{u"傷寒論 發熱"_qs, u"溫病 發熱"_qs, u"頭痛論"_qs, u"醫者's note"_qs, u"小寫"_qs, u"空字串"_qs};
    QTest::newRow("minus alone lists non-null") << u"-"_qs
        << QStringList{u"空白"_qs, u"溫病 發熱"_qs, u"醫者's note"_qs, u"小寫"_qs, u"傷寒論 發熱"_qs, u"空字串"_qs, u"頭痛論"_qs};
    QTest::newRow("plus alone finds nothing") << u"+"_qs << QStringList{};
    QTest::newRow("apostrophe") << u"physician's"_qs << QStringList{u"醫者's note"_qs};
    QTest::newRow("case ignored") << u"abc"_qs << QStringList{u"醫者's note"_qs, u"小寫"_qs};
    QTest::newRow("underscore is any character") << u"a_b"_qs << QStringList{u"小寫"_qs};
    QTest::newRow("set") << u"[x]"_qs << QStringList{u"小寫"_qs};
    QTest::newRow("set of letters ignores case") << u"[b]C"_qs << QStringList{u"醫者's note"_qs, u"小寫"_qs};
    QTest::newRow("percent in a term") << u"100%"_qs << QStringList{u"小寫"_qs};
    QTest::newRow("no match") << u"麻黃"_qs << QStringList{};
}

void TestContentDatabase::queriesGiveTheirRowsInOrder()
{
    QFETCH(QString, box);
    QFETCH(QStringList, subjects);
    const auto rows = search(box);
    QVERIFY2(rows.ok(), qPrintable(rows.failure().description));
    QStringList got;
    for (const ResultRow &row : rows.value())
        got << row.subject;
    QCOMPARE(got, subjects);
}

void TestContentDatabase::hostileQueriesRunOnlyTheSelect_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("mayFail");
    QStringList many;
    for (int i = 0; i < 100000; ++i)
        many << u"字"_qs + QString::number(i);
    QTest::newRow("drop table") << u"'; drop table maindata; --"_qs << false;
    QTest::newRow("or true") << u"' or '1'='1"_qs << false;
    QTest::newRow("chr concatenation") << u"x' & chr(39) & '"_qs << false;
    QTest::newRow("unbalanced bracket") << u"[發熱"_qs << true;
    QTest::newRow("100000 terms") << u"+"_qs + many.join(QLatin1Char(' ')) << false;
    QTest::newRow("control characters") << u"\u0001\u0007\u001b發熱"_qs << false;
    QTest::newRow("nul") << QString(QChar(0)) + u"發熱"_qs << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u"x"_qs << false;
    QTest::newRow("one megabyte") << QString(1 << 20, QChar(u'熱')) << false;
    QTest::newRow("double quotes and semicolons") << u"\"; attach 'x' as y; --"_qs << false;
}

void TestContentDatabase::hostileQueriesRunOnlyTheSelect()
{
    QFETCH(QString, box);
    QFETCH(bool, mayFail);
    const QString dbPath = m_dir.path() + u"/jst.mdb"_qs;
    const QByteArray before = fileHash(dbPath);
    const auto rows = search(box);
    if (mayFail) {
        QVERIFY(!rows.ok());
        QVERIFY(!rows.failure().description.isEmpty());
    } else {
        QVERIFY2(rows.ok(), qPrintable(rows.failure().description));
        // Text that matches no record gives no row: nothing escaped the pattern.
        const bool matchesAny = box.startsWith(QLatin1Char('+')) && box.size() > 1;
        if (!matchesAny)
            QCOMPARE(rows.value().size(), std::size_t(0));
    }
    QCOMPARE(fileHash(dbPath), before);
    QVERIFY(search(QString()).ok());
    QCOMPARE(search(QString()).value().size(), std::size_t(7));
}

void TestContentDatabase::unusableDatabasesFailClearly_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << u"missing"_qs;
    QTest::newRow("folder of that name") << u"folder"_qs;
    QTest::newRow("not a database") << u"garbage"_qs;
    QTest::newRow("zero bytes") << u"empty"_qs;
    QTest::newRow("no maindata table") << u"notable"_qs;
    QTest::newRow("unreadable") << u"unreadable"_qs;
}

void TestContentDatabase::unusableDatabasesFailClearly()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.path() + u"/jst.mdb"_qs;
    if (kind == u"folder"_qs)
        QVERIFY(QDir(dir.path()).mkdir(u"jst.mdb"_qs));
    if (kind == u"garbage"_qs || kind == u"empty"_qs) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == u"garbage"_qs)
            file.write(QByteArray(4096, 'x'));
    }
    if (kind == u"notable"_qs || kind == u"unreadable"_qs) {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        sqlite3_exec(db, "CREATE TABLE other(x)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    if (kind == u"unreadable"_qs) {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        QFile::setPermissions(path, QFileDevice::Permissions());
    }
    const auto rows = search(QString(), dir.path());
    QVERIFY(!rows.ok());
    QVERIFY2(rows.failure().description.contains(path), qPrintable(rows.failure().description));
    QVERIFY(rows.failure().number != 0);
}

void TestContentDatabase::emptyTableGivesNoRow()
{
    QTemporaryDir dir;
    QVERIFY(writeTestDatabase(dir.path(), {}));
    const auto rows = search(QString(), dir.path());
    QVERIFY(rows.ok());
    QVERIFY(rows.value().empty());
}

void TestContentDatabase::unreadablePatternFailsEvenOnEmptyTable()
{
    QTemporaryDir dir;
    QVERIFY(writeTestDatabase(dir.path(), {}));
    const auto rows = search(u"+發熱 [x"_qs, dir.path());
    QVERIFY(!rows.ok());
    QCOMPARE(rows.failure().number, FailureNumber::InvalidPattern);
}

void TestContentDatabase::aChangedFileIsReadAfresh()
{
    // Every search reads the file as it is now: never rows of a file that
    // was replaced or rewritten since the search before.
    QTemporaryDir dir;
    QVERIFY(writeTestDatabase(dir.path(), standardRecords()));
    QCOMPARE(search(u"發熱"_qs, dir.path()).value().size(), std::size_t(2));
    // The new file is written aside and then put in place, as an installer
    // replaces a collection.
    QTemporaryDir aside;
    QVERIFY(writeTestDatabase(aside.path(), {{u"新"_qs, u"n.htm"_qs, u"發熱"_qs, u"2020-01-01 00:00:00"_qs}}));
    QVERIFY(::rename(QFile::encodeName(aside.path() + u"/jst.mdb"_qs).constData(),
                     QFile::encodeName(dir.path() + u"/jst.mdb"_qs).constData()) == 0);
    const auto rows = search(u"發熱"_qs, dir.path());
    QVERIFY(rows.ok());
    QCOMPARE(rows.value().size(), std::size_t(1));
    QCOMPARE(rows.value().front().subject, u"新"_qs);
    QVERIFY(QFile::remove(dir.path() + u"/jst.mdb"_qs));
    QVERIFY(!search(u"發熱"_qs, dir.path()).ok());
}

void TestContentDatabase::aLinkedFileIsTheFileItself()
{
    // An installation may keep jst.mdb elsewhere and link to it.
    QTemporaryDir dir;
    QVERIFY(QFile::link(m_dir.path() + u"/jst.mdb"_qs, dir.path() + u"/jst.mdb"_qs));
    for (const QString &box : {u"發熱"_qs, QString(), u"+發熱 頭痛"_qs}) {
        const auto linked = search(box, dir.path());
        const auto direct = search(box, m_dir.path());
        QVERIFY2(linked.ok(), qPrintable(linked.ok() ? QString() : linked.failure().description));
        QCOMPARE(linked.value().size(), direct.value().size());
    }
}

QTEST_GUILESS_MAIN(TestContentDatabase)
#include "test_contentdatabase.moc"
