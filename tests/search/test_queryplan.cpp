#include "queryplan.h"

#include <QTest>

class TestQueryPlan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buildsModeTermsAndStatement_data();
    void buildsModeTermsAndStatement();
    void trimsOnlyBlanks_data();
    void trimsOnlyBlanks();
    void splitsAtSingleBlanks_data();
    void splitsAtSingleBlanks();
    void hundredThousandTermsBuildTheirStatement();
};

void TestQueryPlan::buildsModeTermsAndStatement_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("terms");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("termCount");
    const QString all = u"select subject,htm from  maindata where 1=1"_qs;
    const QString any = u"select subject,htm from  maindata where 1=2"_qs;
    const QString close = u"order by [date] desc "_qs;
    QTest::newRow("empty lists all") << QString() << u"mod1"_qs << QString()
        << u"select subject,htm from  maindata order by date desc"_qs << 0;
    QTest::newRow("blanks only list all") << u"   "_qs << u"mod1"_qs << QString()
        << u"select subject,htm from  maindata order by date desc"_qs << 0;
    QTest::newRow("two terms, no prefix") << u"發熱 頭痛"_qs << u"mod3a"_qs << u"發熱 頭痛"_qs
        << u"select subject,htm from  maindata where 1=1 and content like '%發熱%'  and content like '%頭痛%' order by [date] desc "_qs << 2;
    QTest::newRow("minus prefix") << u"-發熱 頭痛"_qs << u"mod3"_qs << u"發熱 頭痛"_qs
        << u"select subject,htm from  maindata where 1=1 and content like '%發熱%'  and content like '%頭痛%' order by [date] desc "_qs << 2;
    QTest::newRow("plus prefix") << u"+發熱 頭痛"_qs << u"mod4"_qs << u"發熱 頭痛"_qs
        << u"select subject,htm from  maindata where 1=2  or content like '%發熱%'   or content like '%頭痛%' "_qs << 2;
    QTest::newRow("apostrophe escaped") << u"it's"_qs << u"mod3a"_qs << u"it'&chr(39)&'s"_qs
        << u"select subject,htm from  maindata where 1=1 and content like '%it'&chr(39)&'s%' order by [date] desc "_qs << 1;
    QTest::newRow("minus alone") << u"-"_qs << u"mod3"_qs << QString()
        << u"select subject,htm from  maindata where 1=1order by [date] desc "_qs << 0;
    QTest::newRow("plus alone") << u"+"_qs << u"mod4"_qs << QString() << any << 0;
    QTest::newRow("blanks before prefix trimmed") << u"  -發熱"_qs << u"mod3"_qs << u"發熱"_qs
        << all + u" and content like '%發熱%' "_qs + close << 1;
    QTest::newRow("blank after prefix gives empty term") << u"- 發熱"_qs << u"mod3"_qs << u" 發熱"_qs
        << all + u" and content like '%%'  and content like '%發熱%' "_qs + close << 2;
    QTest::newRow("double blank gives empty middle term") << u"+發熱  頭痛"_qs << u"mod4"_qs << u"發熱  頭痛"_qs
        << any + u"  or content like '%發熱%'   or content like '%%'   or content like '%頭痛%' "_qs << 3;
    QTest::newRow("prefix only counts first") << u"發熱 -頭痛"_qs << u"mod3a"_qs << u"發熱 -頭痛"_qs
        << all + u" and content like '%發熱%'  and content like '%-頭痛%' "_qs + close << 2;
    QTest::newRow("double minus keeps one") << u"--x"_qs << u"mod3"_qs << u"-x"_qs
        << all + u" and content like '%-x%' "_qs + close << 1;
    QTest::newRow("ideographic space joins") << u"發熱\u3000頭痛"_qs << u"mod3a"_qs << u"發熱\u3000頭痛"_qs
        << all + u" and content like '%發熱\u3000頭痛%' "_qs + close << 1;
    QTest::newRow("full-width plus is a character") << u"＋發熱"_qs << u"mod3a"_qs << u"＋發熱"_qs
        << all + u" and content like '%＋發熱%' "_qs + close << 1;
    QTest::newRow("leading apostrophe") << u"'x"_qs << u"mod3a"_qs << u"'&chr(39)&'x"_qs
        << all + u" and content like '%'&chr(39)&'x%' "_qs + close << 1;
    QTest::newRow("tab stays inside") << u"\t發熱"_qs << u"mod3a"_qs << u"\t發熱"_qs
        << all + u" and content like '%\t發熱%' "_qs + close << 1;
}

void TestQueryPlan::buildsModeTermsAndStatement()
{
    QFETCH(QString, box);
    QFETCH(QString, mode);
    QFETCH(QString, terms);
    QFETCH(QString, sql);
    QFETCH(int, termCount);
    const QueryPlan plan = buildQuery(trimBlanks(box));
    QCOMPARE(searchModeText(plan.mode), mode);
    QCOMPARE(plan.TermsText, terms);
    QCOMPARE(plan.SqlText, sql);
    QCOMPARE(plan.clauseCount, termCount);
}

void TestQueryPlan::trimsOnlyBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("both ends") << u"  發熱 "_qs << u"發熱"_qs;
    QTest::newRow("inner blanks stay") << u" a  b "_qs << u"a  b"_qs;
    QTest::newRow("tab stays") << u"\ta "_qs << u"\ta"_qs;
    QTest::newRow("ideographic space stays") << u"\u3000a\u3000"_qs << u"\u3000a\u3000"_qs;
    QTest::newRow("only blanks") << u"    "_qs << QString();
}

void TestQueryPlan::trimsOnlyBlanks()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(trimBlanks(text), trimmed);
}

void TestQueryPlan::splitsAtSingleBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("empty gives none") << QString() << QStringList();
    QTest::newRow("one") << u"a"_qs << QStringList{u"a"_qs};
    QTest::newRow("blank at both ends") << u" a "_qs << QStringList{QString(), u"a"_qs, QString()};
    QTest::newRow("single blank") << u" "_qs << QStringList{QString(), QString()};
}

void TestQueryPlan::splitsAtSingleBlanks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);
    QCOMPARE(splitTerms(text), pieces);
}

void TestQueryPlan::hundredThousandTermsBuildTheirStatement()
{
    QStringList terms;
    for (int i = 0; i < 100000; ++i)
        terms << QString::number(i);
    const QueryPlan plan = buildQuery(u"+"_qs + terms.join(QLatin1Char(' ')));
    QCOMPARE(plan.clauseCount, 100000);
    QVERIFY(plan.SqlText.endsWith(u"  or content like '%99999%' "_qs));
    QCOMPARE(plan.SqlText.count(u" or content like '%"_qs), 100000);
}

QTEST_GUILESS_MAIN(TestQueryPlan)
#include "test_queryplan.moc"
