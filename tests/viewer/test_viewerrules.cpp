// The small rules of the record viewer: cutting terms, the terms of the
// record display, the row under the pointer and the keys the window takes.

#include "displayterms.h"
#include "highlightedpagewriter.h"
#include "keyrouting.h"
#include "rowtooltip.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(KeyAction)

class TestViewerRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsTerms_data();
    void splitsTerms();
    void displayTerms_data();
    void displayTerms();
    void captionsRecordNumber();
    void toolTipRow_data();
    void toolTipRow();
    void routesKeys_data();
    void routesKeys();
};

void TestViewerRules::splitsTerms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("terms");
    QTest::newRow("empty text, no terms") << QString() << QStringList();
    QTest::newRow("two terms") << u"發熱 頭痛"_s << QStringList { u"發熱"_s, u"頭痛"_s };
    QTest::newRow("two blanks give an empty term") << u"發熱  頭痛"_s << QStringList { u"發熱"_s, QString(), u"頭痛"_s };
    QTest::newRow("blanks at the ends") << u" 發熱 "_s << QStringList { QString(), u"發熱"_s, QString() };
    QTest::newRow("tab and ideographic space are no separators")
        << u"發熱\t頭痛\u3000甚"_s << QStringList { u"發熱\t頭痛\u3000甚"_s };
}

void TestViewerRules::splitsTerms()
{
    QFETCH(QString, text);
    QFETCH(QStringList, terms);
    QCOMPARE(splitTerms(text), terms);
}

void TestViewerRules::displayTerms_data()
{
    QTest::addColumn<QString>("lastMode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("terms");

    const QString long150 = QString(150, u'熱');
    QTest::newRow("mod3 drops the prefix") << u"mod3"_s << u"-發熱 頭痛"_s << u"發熱 頭痛"_s;
    QTest::newRow("mod4 drops the prefix") << u"mod4"_s << u"  +發熱 頭痛 "_s << u"發熱 頭痛"_s;
    QTest::newRow("mod3a keeps all") << u"mod3a"_s << u"發熱 頭痛"_s << u"發熱 頭痛"_s;
    QTest::newRow("mod1, empty box") << u"mod1"_s << QString() << QString();
    QTest::newRow("no search yet") << QString() << u"   發熱   "_s << u"發熱"_s;
    QTest::newRow("mode names are case-sensitive") << u"MOD3"_s << u"-發熱"_s << u"-發熱"_s;
    QTest::newRow("only blanks are trimmed") << u"mod1"_s << u"\t發熱\u3000"_s << u"\t發熱\u3000"_s;
    QTest::newRow("edited box without prefix") << u"mod3"_s << u"咳嗽"_s << u"嗽"_s;
    QTest::newRow("prefix alone") << u"mod4"_s << u" + "_s << QString();
    QTest::newRow("second branch stops after 100") << u"mod4"_s << long150 << QString(100, u'熱');
    QTest::newRow("pair at position 101 is not split")
        << u"mod3"_s << (u"-"_s + QString(99, u'熱') + u"\U00020000"_s) << QString(99, u'熱');
    QTest::newRow("pair at position 100 is kept")
        << u"mod3"_s << (u"-"_s + QString(98, u'熱') + u"\U00020000熱"_s) << (QString(98, u'熱') + u"\U00020000"_s);
}

void TestViewerRules::displayTerms()
{
    QFETCH(QString, lastMode);
    QFETCH(QString, query);
    QFETCH(QString, terms);
    QCOMPARE(::displayTerms(lastMode, query), terms);
}

void TestViewerRules::captionsRecordNumber()
{
    QCOMPARE(ctCaption(7), u"第7筆"_s);
    QCOMPARE(ctCaption(0), u"第0筆"_s);
    QCOMPARE(ctCaption(100000), u"第100000筆"_s);
}

void TestViewerRules::toolTipRow_data()
{
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("rowPos");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("row"); // -1: nothing to show

    const int many = 40000;
    // Row height 240, row 1 at 240: the list is not scrolled.
    const QList<std::pair<double, int>> plain { { 0, 1 }, { 100, 0 }, { 240, 1 }, { 300, 1 },
                                                { 480, 1 }, { 481, 2 }, { 720, 3 }, { 960, 3 } };
    for (const auto &[y, row] : plain)
        QTest::addRow("plain, Y %g", y) << 240 << 240 << y << many << row;
    QTest::newRow("RowPos 0, Y 0") << 240 << 0 << 0.0 << many << 1;
    QTest::newRow("RowPos 0, Y 120") << 240 << 0 << 120.0 << many << 2;
    QTest::newRow("RowPos 0, Y 300") << 240 << 0 << 300.0 << many << 3;
    QTest::newRow("RowPos -480, Y 0") << 240 << -480 << 0.0 << many << 3;
    QTest::newRow("RowPos -480, Y 300") << 240 << -480 << 300.0 << many << 5;
    QTest::newRow("row equal to Rows") << 240 << 240 << 720.0 << 3 << -1;
    QTest::newRow("last row") << 240 << 240 << 720.0 << 4 << 3;
    QTest::newRow("c = 32766 gives 32767") << 240 << 240 << 32766.0 * 240 + 360 << many << 32767;
    QTest::newRow("c = 32767 leaves the range") << 240 << 240 << 32767.0 * 240 + 360 << many << -1;
    QTest::newRow("c = -32768 gives 32767") << 240 << 240 << -32768.0 * 240 + 360 << many << 32767;
    QTest::newRow("c = -32769 leaves the range") << 240 << 240 << -32769.0 * 240 + 360 << many << -1;
    QTest::newRow("zero row height") << 0 << 0 << 100.0 << many << -1;
}

void TestViewerRules::toolTipRow()
{
    QFETCH(int, rowHeight);
    QFETCH(int, rowPos);
    QFETCH(double, y);
    QFETCH(int, rows);
    QFETCH(int, row);
    QCOMPARE(::toolTipRow(rowHeight, rowPos, y, rows).value_or(-1), row);
}

void TestViewerRules::routesKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<KeyAction>("action");
    QTest::newRow("Return") << int(Qt::Key_Return) << KeyAction::FocusResultList;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << KeyAction::FocusResultList;
    QTest::newRow("Up") << int(Qt::Key_Up) << KeyAction::FocusResultList;
    QTest::newRow("Down") << int(Qt::Key_Down) << KeyAction::FocusResultList;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << KeyAction::Nothing;
    QTest::newRow("Left") << int(Qt::Key_Left) << KeyAction::Nothing;
    QTest::newRow("Right") << int(Qt::Key_Right) << KeyAction::Nothing;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << KeyAction::Nothing;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << KeyAction::FocusQueryBox;
    QTest::newRow("F7") << int(Qt::Key_F7) << KeyAction::Print;
    QTest::newRow("Shift+F7") << (Qt::SHIFT | Qt::Key_F7).toCombined() << KeyAction::Print;
    QTest::newRow("Ctrl+Enter") << (Qt::CTRL | Qt::Key_Return).toCombined() << KeyAction::FocusResultList;
    QTest::newRow("Shift+Escape") << (Qt::SHIFT | Qt::Key_Escape).toCombined() << KeyAction::FocusQueryBox;
    QTest::newRow("F8") << int(Qt::Key_F8) << KeyAction::ToggleVariants;
    QTest::newRow("Shift+F8") << (Qt::SHIFT | Qt::Key_F8).toCombined() << KeyAction::ToggleVariants;
    QTest::newRow("F3") << int(Qt::Key_F3) << KeyAction::NextHit;
    QTest::newRow("Shift+F3") << (Qt::SHIFT | Qt::Key_F3).toCombined() << KeyAction::PreviousHit;
    QTest::newRow("Ctrl+F3") << (Qt::CTRL | Qt::Key_F3).toCombined() << KeyAction::NextHit;
    QTest::newRow("Ctrl+Shift+F3") << (Qt::CTRL | Qt::SHIFT | Qt::Key_F3).toCombined() << KeyAction::PreviousHit;
    QTest::newRow("Shift+Enter") << (Qt::SHIFT | Qt::Key_Return).toCombined() << KeyAction::FocusResultList;
    QTest::newRow("F2") << int(Qt::Key_F2) << KeyAction::NotHandled;
    QTest::newRow("F4") << int(Qt::Key_F4) << KeyAction::NotHandled;
    QTest::newRow("F9") << int(Qt::Key_F9) << KeyAction::NotHandled;
    QTest::newRow("Home") << int(Qt::Key_Home) << KeyAction::NotHandled;
    QTest::newRow("letter") << int(Qt::Key_A) << KeyAction::NotHandled;
}

void TestViewerRules::routesKeys()
{
    QFETCH(int, key);
    QFETCH(KeyAction, action);
    QCOMPARE(routeKey(key), action);
}

QTEST_APPLESS_MAIN(TestViewerRules)
#include "test_viewerrules.moc"
