// The marker of a variant search: every printed form of a term's characters
// is marked, by the same rules as an exact term, and the page's bytes
// outside the marks come through untouched.

#include "big5testing.h"
#include "pagemarker.h"
#include "variantmarking.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
VariantTable sampleTable()
{
    QStringList texts;
    for (const QString &path : { QStringLiteral(TAMVEX_INSTALL_DIR "/variant-classes.txt"),
                                QStringLiteral(TAMVEX_SOURCE_DIR "/collection/pages/variant-edits.txt") }) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            texts.append(QString::fromUtf8(file.readAll()));
    }
    return VariantTable::fromTexts(texts);
}

QByteArray withoutMarks(QByteArray bytes)
{
    return bytes.replace(QByteArray(OpenMark.data(), OpenMark.size()), QByteArray())
        .replace(QByteArray(CloseMark.data(), CloseMark.size()), QByteArray());
}
}

class TestVariantMarking : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_table = sampleTable(); QVERIFY(!m_table.isEmpty()); }
    void marksPrintedForms_data();
    void marksPrintedForms();
    void withoutVariantsMarksAsTheExactMarker_data();
    void withoutVariantsMarksAsTheExactMarker();

private:
    VariantTable m_table;
};

void TestVariantMarking::marksPrintedForms_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QString>("expected");
    QTest::newRow("simplified query, traditional page")
        << u"<p>黃耆三兩</p>"_s << QStringList{ u"黄耆"_s } << u"<p><font color=red>黃耆</font>三兩</p>"_s;
    QTest::newRow("every printed combination")
        << u"脈浮，鍼之；針之，脈數"_s << QStringList{ u"脉"_s, u"针"_s }
        << u"<font color=red>脈</font>浮，<font color=red>鍼</font>之；<font color=red>針</font>之，<font color=red>脈</font>數"_s;
    QTest::newRow("two characters, mixed forms")
        << u"欬逆、咳逆、痺痛、痹痛"_s << QStringList{ u"咳逆"_s, u"痹痛"_s }
        << u"<font color=red>欬逆</font>、<font color=red>咳逆</font>、<font color=red>痺痛</font>、<font color=red>痹痛</font>"_s;
    QTest::newRow("apart stays unmarked") << u"後世，皇后"_s << QStringList{ u"后"_s } << u"後世，皇<font color=red>后</font>"_s;
    QTest::newRow("not inside tags or scripts")
        << u"<a title=\"黃\">黃</a><script>黃</script>"_s << QStringList{ u"黄"_s }
        << u"<a title=\"黃\"><font color=red>黃</font></a><script>黃</script>"_s;
    QTest::newRow("a later term inside an earlier mark")
        << u"頭痛發熱"_s << QStringList{ u"头痛"_s, u"头"_s }
        << u"<font color=red><font color=red>頭</font>痛</font>發熱"_s;
    QTest::newRow("a character no page holds") << u"?熱"_s << QStringList{ u"𠀀"_s } << u"?熱"_s;
}

void TestVariantMarking::marksPrintedForms()
{
    QFETCH(QString, page);
    QFETCH(QStringList, terms);
    QFETCH(QString, expected);
    const QByteArray bytes = big5(page);
    const QByteArray marked = markPageVariants(bytes, terms, m_table);
    QCOMPARE(fromBig5(marked), fromBig5(big5(expected)));
    QCOMPARE(withoutMarks(marked), bytes);
}

void TestVariantMarking::withoutVariantsMarksAsTheExactMarker_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("terms");
    QTest::newRow("worked example") << u"<p>發熱而頭痛，頭痛甚</p>"_s << QStringList{ u"發熱"_s, u"頭痛"_s };
    QTest::newRow("nested") << u"<p>發熱而頭痛，頭痛甚</p>"_s << QStringList{ u"頭痛"_s, u"頭"_s };
    QTest::newRow("twice, empty, latin") << u"<b>ABC abc</b> red"_s << QStringList{ u"ABC"_s, QString(), u"ABC"_s, u"red"_s };
    QTest::newRow("comment, reference") << u"<!-- 熱 -->&#29081;熱"_s << QStringList{ u"熱"_s };
    QTest::newRow("across a tag") << u"發<i>熱</i>"_s << QStringList{ u"發熱"_s };
}

void TestVariantMarking::withoutVariantsMarksAsTheExactMarker()
{
    QFETCH(QString, page);
    QFETCH(QStringList, terms);
    const QByteArray bytes = big5(page);
    QCOMPARE(markPageVariants(bytes, terms, VariantTable()), markPage(bytes, terms));
}

QTEST_APPLESS_MAIN(TestVariantMarking)
#include "test_variantmarking.moc"
