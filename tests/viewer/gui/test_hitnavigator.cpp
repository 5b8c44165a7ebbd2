// F3 and Shift+F3 through the hits of the shown page, its count and hit map,
// in the real main window and web view.
#include "mainwindowfixture.h"

#include "big5testing.h"
#include "highlightedpagewriter.h"
#include "pagehitview.h"
#include "pagemarker.h"

#include <QApplication>
#include <QLineEdit>
#include <QWebEngineScript>

using namespace Qt::StringLiterals;

namespace {
// Red text of the page's own, a mark inside the page's own red font, and
// hits far enough apart that each one needs scrolling.
const QString kPage = u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\"></head><body>"
                      u"<p><font color=red>紅字在前</font></p>"
                      u"<p>發熱而頭痛</p><div style=\"height:1800px\"></div>"
                      u"<p><font color=red>頭痛</font>（原書紅字）</p><div style=\"height:1800px\"></div>"
                      u"<p>發熱，頭痛甚</p><div style=\"height:1800px\"></div></body></html>"_s;
const QString kTerms = u"發熱 頭痛"_s;

// Counts the presses of one key that reach a control.
class KeySpy : public QObject {
public:
    explicit KeySpy(int key) : m_key(key) {}
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == m_key)
            ++count;
        return false;
    }

private:
    int m_key;
};
}

class TestHitNavigator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void f3AndShiftF3StepInOrderAndWrap();
    void countAndMapOnTheView();
    void aClickOnTheMapGoesToThatHit();
    void pageWithoutHitsShowsNothing();
    void temporaryPageKeepsTheWritersBytes();

private:
    // Shows the current record with kPage as its page and the query box's terms.
    bool showTestPage(const QString &terms = kTerms);
    bool press(int key, Qt::KeyboardModifiers modifiers = {});
    QVariantMap state();

    std::unique_ptr<MainWindowFixture> m_fixture;
    FrmTamvexMain *m_main = nullptr;
};

void TestHitNavigator::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    m_main = m_fixture->openMainWindow();
    QVERIFY(m_main);
    QVERIFY(MainWindowFixture::waitForPage(m_main));
}

void TestHitNavigator::cleanup()
{
    m_fixture.reset();
    m_main = nullptr;
}

bool TestHitNavigator::showTestPage(const QString &terms)
{
    QFile page(recordPagePath(m_fixture->folder(), m_main->Grd1()->TextMatrix(m_main->Grd1()->Row(), 1)));
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate) || page.write(big5(kPage)) < 0)
        return false;
    page.close();
    m_main->TxtQuery()->setEditText(terms);
    QSignalSpy ready(m_main->pageHits(), &PageHitView::ready);
    m_main->Grd1_RowColChange();
    return MainWindowFixture::waitForPage(m_main) && (ready.size() > 0 || ready.wait(10000));
}

// A key in the control that has the focus, as the reader presses it; true
// once the view has drawn the hit it stepped to.
bool TestHitNavigator::press(int key, Qt::KeyboardModifiers modifiers)
{
    QSignalSpy shown(m_main->pageHits(), &PageHitView::shown);
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : m_main->Grd1(), Qt::Key(key), modifiers);
    return shown.size() > 0 || shown.wait(5000);
}

// What the hit script drew, read in its own world.
QVariantMap TestHitNavigator::state()
{
    QVariant result;
    bool done = false;
    m_main->LblDesc()->page()->runJavaScript(u"window.tamvexHits ? tamvexHits.state() : null"_s,
                                             QWebEngineScript::ApplicationWorld, [&](const QVariant &v) {
                                                 result = v;
                                                 done = true;
                                             });
    for (int i = 0; i < 200 && !done; ++i)
        QTest::qWait(25);
    return result.toMap();
}

void TestHitNavigator::f3AndShiftF3StepInOrderAndWrap()
{
    QVERIFY(showTestPage());
    const PageHits &hits = m_main->pageHits()->hits();
    QCOMPARE(hits.count(), 5); // the page's own 紅字在前 is no hit
    QCOMPARE(m_main->pageHits()->located(), 5);
    QCOMPARE(hits.current(), -1);
    QCOMPARE(state().value(u"scrollY"_s).toDouble(), 0.0); // the view starts at the top

    // The key still reaches the control that has the focus.
    KeySpy spy(Qt::Key_F3);
    m_main->Grd1()->installEventFilter(&spy);
    QStringList texts;
    QList<int> order;
    for (int i = 0; i < 6; ++i) {
        QVERIFY(press(Qt::Key_F3));
        order.append(hits.current());
        texts.append(state().value(u"text"_s).toString());
        QCOMPARE(state().value(u"current"_s).toInt(), hits.current());
    }
    QCOMPARE(spy.count, 6);
    m_main->Grd1()->removeEventFilter(&spy);
    QCOMPARE(order, (QList<int>{0, 1, 2, 3, 4, 0}));
    QCOMPARE(texts, (QStringList{u"發熱"_s, u"頭痛"_s, u"頭痛"_s, u"發熱"_s, u"頭痛"_s, u"發熱"_s}));
    QVERIFY(press(Qt::Key_F3, Qt::ShiftModifier));
    QCOMPARE(hits.current(), 4);
    QVERIFY(press(Qt::Key_F3, Qt::ShiftModifier));
    QCOMPARE(hits.current(), 3);
    // F3 from the query box, too, where it does not move the focus; Escape
    // and Down still act as before.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QWidget *queryBox = QApplication::focusWidget();
    QVERIFY(queryBox == m_main->TxtQuery() || queryBox == m_main->TxtQuery()->lineEdit());
    QVERIFY(press(Qt::Key_F3));
    QCOMPARE(hits.current(), 4);
    QCOMPARE(QApplication::focusWidget(), queryBox);
    QTest::keyClick(queryBox, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), m_main->Grd1());
}

void TestHitNavigator::countAndMapOnTheView()
{
    QVERIFY(showTestPage());
    QCOMPARE(m_main->pageHits()->countText(), u"共 5 處  發熱 2 · 頭痛 3"_s);
    QCOMPARE(state().value(u"count"_s).toString(), u"共 5 處  發熱 2 · 頭痛 3"_s);
    QVERIFY(press(Qt::Key_F3));
    QVERIFY(press(Qt::Key_F3));
    QVERIFY(press(Qt::Key_F3));
    QCOMPARE(m_main->pageHits()->countText(), u"第 3／5 處  發熱 2 · 頭痛 3"_s);
    const QVariantMap drawn = state();
    QCOMPARE(drawn.value(u"count"_s).toString(), u"第 3／5 處  發熱 2 · 頭痛 3"_s);
    // The third hit, far down the page, is in the middle of the view, its box on it.
    const double top = drawn.value(u"elementTop"_s).toDouble();
    const double middle = drawn.value(u"viewHeight"_s).toDouble() / 2;
    QVERIFY2(qAbs(top - middle) < 40, qPrintable(u"%1 %2"_s.arg(top).arg(middle)));
    QVERIFY(qAbs(drawn.value(u"boxTop"_s).toDouble() - top) < 4);
    QVERIFY(drawn.value(u"scrollY"_s).toDouble() > 1000);
    // One tick per hit, down the page in order.
    const QVariantList ticks = drawn.value(u"ticks"_s).toList();
    QCOMPARE(ticks.size(), 5);
    for (int k = 1; k < ticks.size(); ++k)
        QVERIFY(ticks[k].toDouble() >= ticks[k - 1].toDouble());
    QVERIFY(ticks.first().toDouble() >= 0 && ticks.last().toDouble() <= 1);
}

void TestHitNavigator::aClickOnTheMapGoesToThatHit()
{
    QVERIFY(showTestPage());
    const QVariantMap drawn = state();
    const QVariantList ticks = drawn.value(u"ticks"_s).toList();
    QCOMPARE(ticks.size(), 5);
    QWidget *surface = m_main->LblDesc()->focusProxy();
    QVERIFY(surface);
    // The map lies along the right edge of the page's viewport.
    const double zoom = m_main->LblDesc()->zoomFactor();
    const int mapHeight = int(drawn.value(u"mapHeight"_s).toDouble() * zoom);
    const int y = int(ticks[3].toDouble() * mapHeight) + 1;
    // Right of the map lies the page's scroll bar: try from the edge inwards.
    QSignalSpy shown(m_main->pageHits(), &PageHitView::shown);
    for (int x = surface->width() - 1; x > surface->width() - 40 && shown.isEmpty(); x -= 4) {
        QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(x, y));
        shown.wait(300);
    }
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown.first().first().toInt(), 3);
    QCOMPARE(m_main->pageHits()->hits().current(), 3);
    QCOMPARE(m_main->pageHits()->countText(), u"第 4／5 處  發熱 2 · 頭痛 3"_s);
    // F3 goes on from there.
    QVERIFY(press(Qt::Key_F3));
    QCOMPARE(m_main->pageHits()->hits().current(), 4);
}

void TestHitNavigator::pageWithoutHitsShowsNothing()
{
    QVERIFY(showTestPage(u"惡寒"_s));
    QCOMPARE(m_main->pageHits()->hits().count(), 0);
    QCOMPARE(m_main->pageHits()->countText(), QString());
    QCOMPARE(state().value(u"layer"_s).toBool(), false);
    QSignalSpy shown(m_main->pageHits(), &PageHitView::shown);
    QTest::keyClick(m_main->Grd1(), Qt::Key_F3);
    QVERIFY(!shown.wait(500));
    QCOMPARE(m_main->pageHits()->hits().current(), -1);
    // A page with hits after it draws its own layer again.
    QVERIFY(showTestPage());
    QCOMPARE(state().value(u"layer"_s).toBool(), true);
}

void TestHitNavigator::temporaryPageKeepsTheWritersBytes()
{
    QVERIFY(showTestPage());
    for (int i = 0; i < 3; ++i)
        QVERIFY(press(Qt::Key_F3));
    QFile temp(FrmTamvexMainTesting::TempPagePath(m_main));
    QVERIFY(temp.open(QIODevice::ReadOnly));
    QCOMPARE(temp.readAll(), markPage(big5(kPage), kTerms.split(u' ')));
    // Nor is the page's own markup touched: the same font elements as written.
    QCOMPARE(MainWindowFixture::evaluate(m_main, u"document.getElementsByTagName('font').length"_s).toInt(), 7);
    QCOMPARE(MainWindowFixture::evaluate(m_main, u"document.body.innerText.indexOf('紅字在前')"_s).toInt() >= 0, true);
}

QTEST_MAIN(TestHitNavigator)
#include "test_hitnavigator.moc"
