#include "testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList &args)
{
    QProcess process;
    // Messages in English, which the cases read.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli"), args);
    process.waitForFinished(60000);
    return Run{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
}

class TestCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statementPrintsThreeLinesExactly_data();
    void statementPrintsThreeLinesExactly();
    void searchPrintsRowsOrMessageOrFailure_data();
    void searchPrintsRowsOrMessageOrFailure();
    void searchUsesItsOwnFolderByDefault();
    void sampleCollectionGivesItsDesignedRows_data();
    void sampleCollectionGivesItsDesignedRows();
    void markWritesTheTemporaryPage_data();
    void markWritesTheTemporaryPage();
    void markTellsEveryFailure_data();
    void markTellsEveryFailure();
    void variantSearchFindsWhatTheTraditionalQueryFinds_data();
    void variantSearchFindsWhatTheTraditionalQueryFinds();
    void variantMarkMarksThePrintedGlyphs();
    void variantsWithoutTheTableFail();
    void kwicPrintsTheConcordanceOfTheSampleCollection();
    void kwicRefusesWhatItCannotDo_data();
    void kwicRefusesWhatItCannotDo();
};

void TestCli::statementPrintsThreeLinesExactly_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << QString()
        << QByteArray("mod1\n\nselect subject,htm from  maindata order by date desc\n");
    QTest::newRow("any term") << u"+發熱 頭痛"_qs
        << u"mod4\n發熱 頭痛\nselect subject,htm from  maindata where 1=2  or content like '%發熱%'   or content like '%頭痛%' \n"_qs.toUtf8();
    QTest::newRow("apostrophe") << u"it's"_qs
        << u"mod3a\nit'&chr(39)&'s\nselect subject,htm from  maindata where 1=1 and content like '%it'&chr(39)&'s%' order by [date] desc \n"_qs.toUtf8();
    QTest::newRow("minus alone, trimmed") << u"  - "_qs
        << QByteArray("mod3\n\nselect subject,htm from  maindata where 1=1order by [date] desc \n");
}

void TestCli::statementPrintsThreeLinesExactly()
{
    QFETCH(QString, query);
    QFETCH(QByteArray, expected);
    const Run run = runCli({u"statement"_qs, query});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, expected);
}

void TestCli::searchPrintsRowsOrMessageOrFailure_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("rows as stored") << u"-發熱"_qs << 0
        << u"溫病 發熱\tbooks\\wen\\p02.htm\n傷寒論 發熱\tp01.htm\n"_qs.toUtf8() << QByteArray();
    QTest::newRow("plus alone: the message") << u"+"_qs << 1 << QByteArray()
        << u" 全文檢索搜尋\u3000[  ]\u3000資料不存在\n"_qs.toUtf8();
    QTest::newRow("apostrophe without match") << u"it's"_qs << 1 << QByteArray()
        << u" 全文檢索搜尋\u3000[ it'&chr(39)&'s ]\u3000資料不存在\n"_qs.toUtf8();
    QTest::newRow("unreadable pattern fails") << u"[x"_qs << 2 << QByteArray() << QByteArray("-2147217913");
}

void TestCli::searchPrintsRowsOrMessageOrFailure()
{
    QFETCH(QString, query);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QTemporaryDir dir;
    QVERIFY(writeTestDatabase(dir.path(), standardRecords()));
    const Run run = runCli({u"search"_qs, u"--program-folder"_qs, dir.path(), query});
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, out);
    if (exitCode == 2)
        QVERIFY2(run.err.contains(err), run.err.constData());
    else
        QCOMPARE(run.err, err);
}

void TestCli::searchUsesItsOwnFolderByDefault()
{
    // The installation folder holds the sample collection beside the tool.
    const Run run = runCli({u"search"_qs, QString()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.count('\n') >= 40);
}

void TestCli::sampleCollectionGivesItsDesignedRows_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("titles"); // empty: compare with the list-all result
    QTest::newRow("all terms, newest first") << u"發熱 頭痛"_qs
        << QStringList{u"麻黃湯證"_qs, u"桂枝湯證"_qs, u"太陽病提綱"_qs, u"本草 石膏"_qs, u"針灸 合谷穴"_qs, u"脈法 浮脈"_qs};
    QTest::newRow("any term, storage order") << u"+發熱 頭痛"_qs
        << QStringList{u"太陽病提綱"_qs, u"桂枝湯證"_qs, u"麻黃湯證"_qs, u"葛根湯證"_qs, u"陽明病潮熱"_qs,
                       u"少陰病反發熱"_qs, u"痙濕暍病"_qs, u"本草 麻黃"_qs, u"本草 柴胡"_qs, u"本草 川芎"_qs,
                       u"本草 石膏"_qs, u"脈法 浮脈"_qs, u"脈法 數脈"_qs, u"脈法 弦脈"_qs, u"針灸 風池穴"_qs,
                       u"針灸 合谷穴"_qs, u"針灸 大椎穴"_qs, u"針灸 百會穴"_qs, u"醫案 the physician's note"_qs,
                       u"醫案 赤色 red"_qs};
    QTest::newRow("apostrophe") << u"it's"_qs << QStringList{u"醫案 the physician's note"_qs};
    QTest::newRow("minus alone lists everything, null content too") << u"-"_qs << QStringList{};
}

void TestCli::sampleCollectionGivesItsDesignedRows()
{
    QFETCH(QString, query);
    QFETCH(QStringList, titles);
    const auto titlesOf = [](const QByteArray &out) {
        QStringList list;
        for (const QString &line : QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts))
            list << line.section(u'\t', 0, 0);
        return list;
    };
    const Run run = runCli({u"search"_qs, query});
    QCOMPARE(run.exitCode, 0);
    if (titles.isEmpty()) {
        const QStringList all = titlesOf(runCli({u"search"_qs, QString()}).out);
        QCOMPARE(all.size(), 46);
        QCOMPARE(all.first(), u"醫案 赤色 red"_qs);
        titles = all;
    }
    QCOMPARE(titlesOf(run.out), titles);
}

void TestCli::markWritesTheTemporaryPage_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("terms");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray fever = QStringEncoder("windows-950")(u"發熱"_qs);
    QTest::newRow("term marked in the page's Big5 bytes")
        << QByteArray("<p>" + fever + "</p>") << u"發熱"_qs << QByteArray("<p><font color=red>" + fever + "</font></p>");
    QTest::newRow("no terms: the page unchanged") << QByteArray("<p>x</p>") << QString() << QByteArray("<p>x</p>");
}

void TestCli::markWritesTheTemporaryPage()
{
    QFETCH(QByteArray, page);
    QFETCH(QString, terms);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"books/a"_qs));
    if (!page.isEmpty()) {
        QFile file(dir.path() + u"/books/a/p.htm"_qs);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(page);
    }
    const Run run = runCli({u"mark"_qs, u"--program-folder"_qs, dir.path(), u"books\\a\\p.htm"_qs, terms});
    QCOMPARE(run.exitCode, 0);
    QFile temp(dir.path() + u"/tmp/TmpVORNAX.htm"_qs);
    QVERIFY(temp.open(QIODevice::ReadOnly));
    QCOMPARE(temp.readAll(), expected);
}

// What stands where the page or the tmp folder should be.
enum class Obstacle { NoPage, TmpIsAFile, PageIsAFifo, PageLinksToDevZero, PageTooLarge };
Q_DECLARE_METATYPE(Obstacle)

void TestCli::markTellsEveryFailure_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<QString>("told");
    QTest::addColumn<QByteArray>("tempPageStart"); // "-" when no temporary page may be there
    QTest::newRow("missing page: an empty temporary page, and said so")
        << Obstacle::NoPage << u"Cannot open the page"_qs << QByteArray();
    QTest::newRow("tmp is a file: left alone, and said so")
        << Obstacle::TmpIsAFile << u"Cannot create the folder"_qs << QByteArray("-");
    QTest::newRow("a FIFO as page: not waited for, a notice page")
        << Obstacle::PageIsAFifo << u"not a regular file"_qs << QByteArray("<html>");
    QTest::newRow("a link to /dev/zero as page: not read, a notice page")
        << Obstacle::PageLinksToDevZero << u"not a regular file"_qs << QByteArray("<html>");
    QTest::newRow("a page beyond the size limit: not read, a notice page")
        << Obstacle::PageTooLarge << u"larger than"_qs << QByteArray("<html>");
}

void TestCli::markTellsEveryFailure()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(QString, told);
    QFETCH(QByteArray, tempPageStart);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"books/a"_qs));
    const QString page = dir.path() + u"/books/a/p.htm"_qs;
    switch (obstacle) {
    case Obstacle::NoPage:
        break;
    case Obstacle::TmpIsAFile: {
        QFile tmp(dir.path() + u"/tmp"_qs);
        QVERIFY(tmp.open(QIODevice::WriteOnly));
        QVERIFY(QFile(page).open(QIODevice::WriteOnly));
        break;
    }
    case Obstacle::PageIsAFifo:
        QCOMPARE(QProcess::execute(u"mkfifo"_qs, {page}), 0);
        break;
    case Obstacle::PageLinksToDevZero:
        QVERIFY(QFile::link(u"/dev/zero"_qs, page));
        break;
    case Obstacle::PageTooLarge: {
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize((qint64(256) << 20) + 1)); // sparse: no disk used
        break;
    }
    }
    const Run run = runCli({u"mark"_qs, u"--program-folder"_qs, dir.path(), u"books\\a\\p.htm"_qs, u"x"_qs});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(QString::fromUtf8(run.err).contains(told), run.err.constData());
    QFile temp(dir.path() + u"/tmp/TmpVORNAX.htm"_qs);
    if (tempPageStart == "-") {
        QVERIFY(!temp.exists());
        return;
    }
    QVERIFY(temp.open(QIODevice::ReadOnly));
    QVERIFY(temp.readAll().startsWith(tempPageStart));
}

// The sample collection in the installation folder, with its generated
// variant table and its edits.
void TestCli::variantSearchFindsWhatTheTraditionalQueryFinds_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("traditional"); // searched exactly
    QTest::newRow("simplified herb") << u"黄耆"_qs << u"黃耆"_qs;
    QTest::newRow("simplified symptoms") << u"头痛 发热"_qs << u"頭痛 發熱"_qs;
    QTest::newRow("simplified pulse") << u"-脉浮"_qs << u"-脈浮"_qs;
    QTest::newRow("variant needle") << u"+鍼"_qs << u"+針 鍼"_qs;
    QTest::newRow("both printed forms of bi") << u"+痹"_qs << u"+痺 痹"_qs;
    QTest::newRow("a form the collection does not print") << u"欬"_qs << u"咳"_qs;
    QTest::newRow("后 is not widened to 後") << u"后"_qs << u"后"_qs;
    QTest::newRow("症 is not 證") << u"症"_qs << u"症"_qs;
    QTest::newRow("芪 is not 耆") << u"黄芪"_qs << u"黃芪"_qs;
}

void TestCli::variantSearchFindsWhatTheTraditionalQueryFinds()
{
    QFETCH(QString, query);
    QFETCH(QString, traditional);
    const Run variant = runCli({u"search"_qs, u"--variants"_qs, query});
    const Run exact = runCli({u"search"_qs, traditional});
    QCOMPARE(variant.exitCode, exact.exitCode);
    QCOMPARE(variant.out, exact.out);
    if (exact.exitCode == 0)
        QVERIFY(!exact.out.isEmpty());
    // The concordance reads the terms as the search does, and its hit
    // column shows the forms printed.
    const Run variantLines = runCli({u"kwic"_qs, u"--variants"_qs, query});
    const Run exactLines = runCli({u"kwic"_qs, traditional});
    QCOMPARE(variantLines.exitCode, exactLines.exitCode);
    QCOMPARE(variantLines.out, exactLines.out);
}

void TestCli::variantMarkMarksThePrintedGlyphs()
{
    QTemporaryDir dir;
    for (const QString &name : {u"variant-classes.txt"_qs, u"variant-edits.txt"_qs})
        QVERIFY(QFile::copy(QStringLiteral(TAMVEX_INSTALL_DIR "/") + name, dir.path() + u"/"_qs + name));
    QStringEncoder big5("windows-950");
    QFile page(dir.path() + u"/p.htm"_qs);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(big5(u"<p>黃耆、脈、後</p>"_qs));
    page.close();
    const Run run = runCli({u"mark"_qs, u"--variants"_qs, u"--program-folder"_qs, dir.path(), u"p.htm"_qs, u"黄耆 脉 后"_qs});
    QCOMPARE(run.exitCode, 0);
    QFile temp(dir.path() + u"/tmp/TmpVORNAX.htm"_qs);
    QVERIFY(temp.open(QIODevice::ReadOnly));
    QCOMPARE(temp.readAll(), big5(u"<p><font color=red>黃耆</font>、<font color=red>脈</font>、後</p>"_qs));
}

void TestCli::variantsWithoutTheTableFail()
{
    QTemporaryDir dir;
    for (const QStringList &args : {QStringList{u"statement"_qs, u"--variants"_qs, u"--program-folder"_qs, dir.path(), u"脉"_qs},
                                    QStringList{u"search"_qs, u"--program-folder"_qs, dir.path(), u"--variants"_qs, u"脉"_qs},
                                    QStringList{u"kwic"_qs, u"--variants"_qs, u"--program-folder"_qs, dir.path(), u"脉"_qs}}) {
        const Run run = runCli(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("variant-classes.txt"));
    }
}

void TestCli::kwicPrintsTheConcordanceOfTheSampleCollection()
{
    const Run run = runCli({u"kwic"_qs, u"--width"_qs, u"4"_qs, u"桂枝"_qs});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n');
    QCOMPARE(lines.last(), QString()); // every line ends in LF
    QCOMPARE(lines.first(), u"醫案 療效記數\tyian06.htm\t二，改用\t桂枝\t加附子湯"_qs);
    // The records in the search's order, each line five fields, the hit as matched.
    QStringList titles;
    for (const QString &line : lines.mid(0, lines.size() - 1)) {
        const QStringList fields = line.split(u'\t');
        QCOMPARE(fields.size(), 5);
        QCOMPARE(fields.at(3), u"桂枝"_qs);
        QVERIFY(fields.at(2).toUcs4().size() <= 4 && fields.at(4).toUcs4().size() <= 4);
        if (titles.isEmpty() || titles.last() != fields.at(0))
            titles << fields.at(0);
    }
    QStringList searched;
    for (const QString &row : QString::fromUtf8(runCli({u"search"_qs, u"桂枝"_qs}).out).split(u'\n', Qt::SkipEmptyParts))
        searched << row.section(u'\t', 0, 0);
    QCOMPARE(titles, searched);
    // A wildcard shows what it matched; "+" reads in storage order.
    const Run any = runCli({u"kwic"_qs, u"--width"_qs, u"2"_qs, u"+it_s r[e]d"_qs});
    QCOMPARE(any.exitCode, 0);
    QCOMPARE(any.out, u"醫案 the physician's note\tyian01.htm\t。 \tit's\t t\n醫案 赤色 red\tyian08.htm\t色 \tred\t 小\n醫案 赤色 red\tyian08.htm\t之 \tred\t，吾\n"_qs.toUtf8());
}

void TestCli::kwicRefusesWhatItCannotDo_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("no term") << QStringList{u"kwic"_qs, u" "_qs} << 1 << QByteArray("no term");
    QTest::newRow("no occurrence") << QStringList{u"kwic"_qs, u"麒麟竭"_qs} << 1 << QByteArray("no occurrence");
    QTest::newRow("unreadable term") << QStringList{u"kwic"_qs, u"[x"_qs} << 2 << QByteArray("-2147217913");
    QTest::newRow("missing database") << QStringList{u"kwic"_qs, u"--program-folder"_qs, u"/nonexistent"_qs, u"x"_qs}
                                      << 2 << QByteArray("/nonexistent/jst.mdb");
    QTest::newRow("width not a number") << QStringList{u"kwic"_qs, u"--width"_qs, u"x"_qs, u"桂枝"_qs} << 64
                                        << QByteArray("--width");
    QTest::newRow("no query") << QStringList{u"kwic"_qs} << 64 << QByteArray("usage");
}

void TestCli::kwicRefusesWhatItCannotDo()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);
    const Run run = runCli(args);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains(err), run.err.constData());
}
QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
