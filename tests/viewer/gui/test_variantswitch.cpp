// The variant search switch of the main window: F8 turns it on and off, the
// badge shows it, the choice outlives the window, a variant search finds and
// marks the printed forms, and the other keys act as before.

#include "mainwindowfixture.h"

#include "concordancemodel.h"
#include "frmconcordance.h"
#include "variantswitch.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStringDecoder>

namespace {
QStringList titles(const ResultGrid *grid)
{
    QStringList list;
    for (int row = 1; row < grid->Rows(); ++row)
        list << grid->TextMatrix(row, 0);
    return list;
}

QString tempPageText(const QString &folder)
{
    QFile file(folder + u"/tmp/TmpVORNAX.htm"_qs);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QStringDecoder decoder("windows-950");
    return decoder.decode(file.readAll());
}
}

class TestVariantSwitch : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void offByDefaultSearchesExactly();
    void f8TurnsItOnAndTheSearchFindsPrintedForms();
    void keysActAsBeforeWhileOn();
    void choiceOutlivesTheWindow();

private:
    void search(const QString &text);
    MainWindowFixture *m_fixture = nullptr;
    FrmTamvexMain *m_main = nullptr;
};

void TestVariantSwitch::initTestCase()
{
    m_fixture = new MainWindowFixture;
    QVERIFY(QFile::copy(QStringLiteral(TAMVEX_INSTALL_DIR "/variant-classes.txt"),
                        m_fixture->folder() + u"/variant-classes.txt"_qs));
    QVERIFY(QFile::exists(m_fixture->folder() + u"/variant-edits.txt"_qs));
    m_main = m_fixture->openMainWindow();
    QVERIFY(m_main);
    QApplication::setActiveWindow(m_main);
    QVERIFY(QTest::qWaitForWindowActive(m_main));
}

void TestVariantSwitch::cleanupTestCase()
{
    delete m_fixture;
}

void TestVariantSwitch::search(const QString &text)
{
    m_fixture->messages.clear();
    m_main->TxtQuery()->setEditText(text);
    m_main->RunSearch();
}

void TestVariantSwitch::offByDefaultSearchesExactly()
{
    QVERIFY(!m_main->variants()->isOn());
    QVERIFY(!m_main->variants()->badge()->isVisible());
    search(u"黄耆"_qs);
    QCOMPARE(m_fixture->messages.size(), 1);
    QVERIFY(m_fixture->messages.front().prompt.contains(u"黄耆"_qs));
}

void TestVariantSwitch::f8TurnsItOnAndTheSearchFindsPrintedForms()
{
    m_main->TxtQuery()->setFocus();
    m_main->TxtQuery()->setEditText(u"黄耆"_qs);
    QTest::keyClick(m_main->TxtQuery()->lineEdit(), Qt::Key_F8);
    QVERIFY(m_main->variants()->isOn());
    QVERIFY(m_main->variants()->badge()->isVisible());
    QCOMPARE(m_main->variants()->badge()->text(), u"通"_qs);
    QCOMPARE(m_main->TxtQuery()->currentText(), u"黄耆"_qs); // F8 typed nothing
    search(u"黄耆"_qs);
    QVERIFY(m_fixture->messages.isEmpty());
    QVERIFY(titles(m_main->Grd1()).size() >= 1);
    QVERIFY(tempPageText(m_fixture->folder()).contains(u"<font color=red>黃耆</font>"_qs));
    // The concordance of the listed rows reads the terms as their search
    // did: its hit column shows the form printed.
    QTest::keyClick(m_main->Grd1(), Qt::Key_F9);
    auto *concordance = m_main->findChild<FrmConcordance *>();
    QVERIFY(concordance && concordance->model()->concordance());
    QVERIFY(!concordance->model()->concordance()->lines.empty());
    for (const Concordance::Line &line : concordance->model()->concordance()->lines)
        QCOMPARE(line.hit().toString(), u"黃耆"_qs);
    concordance->Unload();
    QApplication::setActiveWindow(m_main);
    QVERIFY(QTest::qWaitForWindowActive(m_main));
    // Characters that code page 950 holds are not widened: 后 finds no 後.
    search(u"后"_qs);
    QCOMPARE(m_fixture->messages.size(), 1);
    // Simplified symptoms find the traditional pages, every one the exact
    // traditional query finds.
    search(u"頭痛 發熱"_qs);
    const QStringList traditional = titles(m_main->Grd1());
    search(u"头痛 发热"_qs);
    QCOMPARE(titles(m_main->Grd1()), traditional);
}

void TestVariantSwitch::keysActAsBeforeWhileOn()
{
    QVERIFY(m_main->variants()->isOn());
    m_main->TxtQuery()->setFocus();
    m_main->TxtQuery()->setEditText(u"脉"_qs);
    QTest::keyClick(m_main->TxtQuery()->lineEdit(), Qt::Key_Return);
    QVERIFY(m_main->Grd1()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(m_main->TxtQuery()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(m_main->Grd1()->hasFocus());
    QVERIFY(m_main->variants()->isOn());
}

void TestVariantSwitch::choiceOutlivesTheWindow()
{
    m_main->Unload();
    m_main = m_fixture->openMainWindow();
    QVERIFY(m_main);
    QVERIFY(m_main->variants()->isOn());
    QApplication::setActiveWindow(m_main);
    QVERIFY(QTest::qWaitForWindowActive(m_main));
    QVERIFY(m_main->variants()->badge()->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
    QVERIFY(!m_main->variants()->isOn());
    QVERIFY(!m_main->variants()->badge()->isVisible());
    m_main->Unload();
    m_main = m_fixture->openMainWindow();
    QVERIFY(!m_main->variants()->isOn());
}

QTEST_MAIN(TestVariantSwitch)
#include "test_variantswitch.moc"
