#include "forms.h"
#include "tamvexform.h"
#include "twips.h"

#include <QApplication>
#include <QTest>

namespace {
// A window that counts its load and unload steps.
class CountingForm : public TamvexForm {
public:
    explicit CountingForm(const QString &name) : TamvexForm(name) {}
    static inline int loads = 0;
    static inline int unloads = 0;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload() override { ++unloads; }
};
}

class TestForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void loadRunsTheLoadStepWithoutShowing();
    void showAndHideLoadFirst_data();
    void showAndHideLoadFirst();
    void unloadDropsTheWindowAndTheNextUseStartsAnew();
    void programEndsWhenLastLoadedWindowUnloads();
    void closingThroughTitleBarUnloads();
    void twipsFollowTheScreen();
};

void TestForms::init()
{
    Forms::reset();
    Forms::setLastUnloadedHandler({});
    CountingForm::loads = CountingForm::unloads = 0;
    for (const char *name : {"A", "B"})
        Forms::registerForm(QString::fromLatin1(name), [n = QString::fromLatin1(name)] { return new CountingForm(n); });
}

void TestForms::loadRunsTheLoadStepWithoutShowing()
{
    TamvexForm *a = Forms::instance(u"A"_qs);
    QVERIFY(!a->isLoaded());
    a->Load();
    a->Load();
    QCOMPARE(CountingForm::loads, 1);
    QVERIFY(a->isLoaded());
    QVERIFY(!a->isVisible());
}

void TestForms::showAndHideLoadFirst_data()
{
    QTest::addColumn<bool>("show");
    QTest::addColumn<bool>("visible");
    QTest::newRow("show") << true << true;
    QTest::newRow("hide") << false << false;
}

void TestForms::showAndHideLoadFirst()
{
    QFETCH(bool, show);
    QFETCH(bool, visible);
    TamvexForm *a = Forms::instance(u"A"_qs);
    show ? a->Show() : a->Hide();
    QCOMPARE(CountingForm::loads, 1);
    QVERIFY(a->isLoaded());
    QCOMPARE(a->isVisible(), visible);
}

void TestForms::unloadDropsTheWindowAndTheNextUseStartsAnew()
{
    TamvexForm *a = Forms::instance(u"A"_qs);
    a->Show();
    a->Unload();
    QCOMPARE(CountingForm::unloads, 1);
    QVERIFY(!Forms::isLoaded(u"A"_qs));
    QVERIFY(Forms::existing(u"A"_qs) == nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TamvexForm *again = Forms::instance(u"A"_qs);
    again->Hide();
    QCOMPARE(CountingForm::loads, 2);
}

void TestForms::programEndsWhenLastLoadedWindowUnloads()
{
    int ends = 0;
    Forms::setLastUnloadedHandler([&] { ++ends; });
    Forms::instance(u"A"_qs)->Show();
    Forms::instance(u"B"_qs)->Hide(); // loaded though hidden: keeps the program open
    Forms::instance(u"A"_qs)->Unload();
    QCOMPARE(ends, 0);
    QCOMPARE(Forms::loadedCount(), 1);
    Forms::instance(u"B"_qs)->Unload();
    QCOMPARE(ends, 1);
    Forms::setLastUnloadedHandler({});
}

void TestForms::closingThroughTitleBarUnloads()
{
    TamvexForm *a = Forms::instance(u"A"_qs);
    a->Show();
    a->close();
    QCOMPARE(CountingForm::unloads, 1);
    QVERIFY(!Forms::isLoaded(u"A"_qs));
}

void TestForms::twipsFollowTheScreen()
{
    const double perPixel = Twips::perPixel();
    QVERIFY(perPixel > 0);
    QCOMPARE(Twips::toPixels(12000), qRound(12000 / perPixel));
    QCOMPARE(Twips::fromPixels(800), 800 * perPixel);
}

QTEST_MAIN(TestForms)
#include "test_forms.moc"
