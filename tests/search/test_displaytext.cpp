#include "displaytext.h"

#include <QTest>

class TestDisplayText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cutForDisplay_data();
    void cutForDisplay();
};

void TestDisplayText::cutForDisplay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("shown");
    const QString ellipsis(QChar(0x2026));
    QTest::newRow("short: whole") << QStringLiteral("傷寒論") << 5 << QStringLiteral("傷寒論");
    QTest::newRow("exactly the limit: whole") << QStringLiteral("傷寒論卷一") << 5 << QStringLiteral("傷寒論卷一");
    QTest::newRow("one more: cut, with an ellipsis") << QStringLiteral("傷寒論卷一上") << 5
                                                     << QStringLiteral("傷寒論卷一") + ellipsis;
    // U+20000 is a surrogate pair: never split in two.
    const QString plane2 = QString::fromUcs4(U"\U00020000");
    QTest::newRow("a pair across the limit stays whole or goes") << QStringLiteral("abcd") + plane2 + QStringLiteral("x")
                                                                 << 5 << QStringLiteral("abcd") + ellipsis;
    QTest::newRow("a pair just inside the limit") << QStringLiteral("abc") + plane2 + QStringLiteral("xy") << 5
                                                  << QStringLiteral("abc") + plane2 + ellipsis;
    QTest::newRow("empty") << QString() << 5 << QString();
}

void TestDisplayText::cutForDisplay()
{
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(QString, shown);
    QCOMPARE(::cutForDisplay(text, limit), shown);
}

QTEST_GUILESS_MAIN(TestDisplayText)
#include "test_displaytext.moc"
