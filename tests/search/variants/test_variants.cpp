// The variant table as built from Unihan and OpenCC with the sample
// collection's edits: which characters fold and which stay apart, and the
// query text a variant search makes.

#include "likepattern.h"
#include "variantplan.h"
#include "variantquery.h"
#include "varianttable.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <functional>

namespace {
QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QString generatedText() { return readText(QStringLiteral(TAMVEX_INSTALL_DIR "/variant-classes.txt")); }
QString editsText() { return readText(QStringLiteral(TAMVEX_SOURCE_DIR "/collection/pages/variant-edits.txt")); }

bool finds(const VariantTable &table, const QString &a, const QString &b)
{
    const std::u32string members = table.membersOf(a.toUcs4().front());
    return members.find(b.toUcs4().front()) != std::u32string::npos;
}
}

class TestVariants : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void foldsOrStaysApart_data();
    void foldsOrStaysApart();
    void readsEntries_data();
    void readsEntries();
    void queryText_data();
    void queryText();
    void planKeepsTypedTerms();
    void missingTableIsAFailure();
    void setsMatchAsTheirExpansions();

private:
    VariantTable m_table;     // generated + the collection's edits
    VariantTable m_generated; // generated only
};

void TestVariants::initTestCase()
{
    const QString generated = generatedText();
    QVERIFY2(generated.size() > 10000, "variant-classes.txt not built");
    QVERIFY(!editsText().isEmpty());
    m_table = VariantTable::fromTexts({ generated, editsText() });
    m_generated = VariantTable::fromTexts({ generated });
}

void TestVariants::foldsOrStaysApart_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("folds");
    // Apart already by the rules of the generated table, before any edit.
    QTest::addColumn<bool>("apartWithoutEdits");
    const auto fold = [](const char *name, const char16_t *a, const char16_t *b) {
        QTest::newRow(name) << QString::fromUtf16(a) << QString::fromUtf16(b) << true << false;
    };
    const auto apart = [](const char *name, const char16_t *a, const char16_t *b, bool byRule) {
        QTest::newRow(name) << QString::fromUtf16(a) << QString::fromUtf16(b) << false << byRule;
    };
    fold("脈/脉: 脉 outside code page 950 is its simplified and variant form", u"脈", u"脉");
    fold("脈/衇: semantic variants (Unihan)", u"脈", u"衇");
    fold("脉/衇: both forms of 脈", u"脉", u"衇");
    fold("藥/葯: semantic variants", u"藥", u"葯");
    fold("药/藥: simplified outside code page 950", u"药", u"藥");
    fold("鍼/針: variant forms of needle", u"鍼", u"針");
    fold("针/鍼: simplified 针 reaches 鍼 through 針", u"针", u"鍼");
    fold("欬/咳: semantic variants", u"欬", u"咳");
    fold("痺/痹: semantic variants, Taiwan form", u"痺", u"痹");
    fold("黃/黄: 黄 outside code page 950", u"黃", u"黄");
    fold("麪/麵: semantic variants", u"麪", u"麵");
    fold("头/頭: simplified outside code page 950", u"头", u"頭");
    fold("发/發: simplified outside code page 950", u"发", u"發");
    fold("热/熱: simplified outside code page 950", u"热", u"熱");
    fold("裏/裡: variant forms of inside", u"裏", u"裡");
    apart("后/後: 后 (queen) is in code page 950, not widened", u"后", u"後", true);
    apart("里/裏: 里 (village) is in code page 950", u"里", u"裏", true);
    apart("里/裡: 里 is in code page 950", u"里", u"裡", true);
    apart("干/乾: 干 (shield) is in code page 950", u"干", u"乾", true);
    apart("干/幹: 干 is in code page 950", u"干", u"幹", true);
    apart("乾/幹: share only the simplified 干", u"乾", u"幹", true);
    apart("云/雲: 云 (say) is in code page 950", u"云", u"雲", true);
    apart("余/餘: 余 (I) is in code page 950", u"余", u"餘", true);
    apart("谷/穀: 谷 (valley) is in code page 950", u"谷", u"穀", true);
    apart("症/證: symptom and pattern are distinct concepts", u"症", u"證", true);
    apart("症/癥: symptom and abdominal mass; 症 is in code page 950", u"症", u"癥", true);
    apart("證/癥: distinct concepts", u"證", u"癥", true);
    apart("芪/耆: a herb name written two ways, not variants", u"芪", u"耆", true);
    apart("發/髮: share only the simplified 发 (no transitive fold)", u"發", u"髮", true);
    apart("余/予: a semantic variant of one dictionary, split by hand", u"余", u"予", false);
    apart("針/箴: needle and admonition, split by hand", u"針", u"箴", false);
    apart("麪/面: noodle and face, split by hand", u"麪", u"面", false);
}

void TestVariants::foldsOrStaysApart()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, folds);
    QFETCH(bool, apartWithoutEdits);
    QCOMPARE(finds(m_table, a, b), folds);
    QCOMPARE(finds(m_table, b, a), folds);
    if (apartWithoutEdits) {
        QVERIFY(!finds(m_generated, a, b));
        QVERIFY(!finds(m_generated, b, a));
    }
}

void TestVariants::readsEntries_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("members");
    const QString groups = QStringLiteral(u"ab\nbc # b is in two groups\n");
    QTest::newRow("group both ways") << QStringList{ groups } << QStringLiteral("b") << QStringLiteral("bac");
    QTest::newRow("groups do not chain") << QStringList{ groups } << QStringLiteral("a") << QStringLiteral("ab");
    QTest::newRow("member first, others in order") << QStringList{ groups } << QStringLiteral("c") << QStringLiteral("cb");
    QTest::newRow("no variants") << QStringList{ groups } << QStringLiteral("z") << QStringLiteral("z");
    QTest::newRow("link takes the target's group") << QStringList{ QStringLiteral("xy\ns>x\n") } << QStringLiteral("s")
                                                   << QStringLiteral("sxy");
    QTest::newRow("link's target finds the link only") << QStringList{ QStringLiteral("xy\ns>x\n") }
                                                       << QStringLiteral("y") << QStringLiteral("yx");
    QTest::newRow("split in a later text") << QStringList{ groups, QStringLiteral("-ba\n") } << QStringLiteral("a")
                                           << QStringLiteral("a");
    QTest::newRow("split before a join still wins") << QStringList{ QStringLiteral("-ab\n"), groups }
                                                    << QStringLiteral("b") << QStringLiteral("bc");
    QTest::newRow("split cuts the second hop") << QStringList{ QStringLiteral("xy\ns>x\n-sy\n") }
                                               << QStringLiteral("s") << QStringLiteral("sx");
    QTest::newRow("a misplaced arrow joins nothing") << QStringList{ QStringLiteral("ab>c\n") } << QStringLiteral("a")
                                                     << QStringLiteral("a");
    QTest::newRow("comments, blanks and tabs") << QStringList{ QStringLiteral("# ab\n\n  \nac\tad\r\n") }
                                               << QStringLiteral("a") << QStringLiteral("ac");
}

void TestVariants::readsEntries()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, character);
    QFETCH(QString, members);
    const std::u32string found = VariantTable::fromTexts(texts).membersOf(character.toUcs4().front());
    QCOMPARE(QString::fromUcs4(found.data(), qsizetype(found.size())), members);
}

void TestVariants::queryText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("simplified herb") << QStringLiteral(u"黄芪") << QStringLiteral(u"[黄黃]芪");
    QTest::newRow("simplified symptoms") << QStringLiteral(u"头痛 发热")
                                         << QStringLiteral(u"[头頭]痛 [发発發髪髮][热熱𤍠]");
    QTest::newRow("pulse") << QStringLiteral(u"-脉浮") << QStringLiteral(u"-[脉脈衇]浮");
    QTest::newRow("no variants, wildcards") << QStringLiteral(u"+后 %浮_") << QStringLiteral(u"+后 %浮_");
    QTest::newRow("a typed set is kept") << QStringLiteral(u"[脉]脉") << QStringLiteral(u"[脉][脉脈衇]");
    QTest::newRow("an unclosed set is kept") << QStringLiteral(u"浮[脉") << QStringLiteral(u"浮[脉");
    QTest::newRow("apostrophe") << QStringLiteral(u"脉's") << QStringLiteral(u"[脉脈衇]'s");
}

void TestVariants::queryText()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(variantQueryText(typed, m_table), expected);
}

void TestVariants::planKeepsTypedTerms()
{
    const QueryPlan plan = buildVariantQuery(QStringLiteral(u"+脉 黄耆"), m_table);
    QCOMPARE(plan.mode, SearchMode::AnyTerm);
    QCOMPARE(plan.TermsText, QStringLiteral(u"脉 黄耆"));
    QCOMPARE(plan.SqlText, QStringLiteral(u"select subject,htm from  maindata where 1=2  or content like '%[脉脈衇]%'"
                                          u"   or content like '%[黄黃]耆%' "));
    QCOMPARE(buildVariantQuery(QString(), m_table).SqlText, buildQuery(QString()).SqlText);
}

void TestVariants::missingTableIsAFailure()
{
    const Result<VariantTable> table = VariantTable::load(QStringLiteral("/nonexistent-folder"));
    QVERIFY(!table.ok());
    QVERIFY(table.failure().description.contains(QLatin1String("variant-classes.txt")));
}

// A pattern with sets matches exactly when one of the plain patterns it
// stands for (each set replaced by one member) matches: the slow reference,
// each expansion answered by the plain byte search.
void TestVariants::setsMatchAsTheirExpansions()
{
    const QStringList alphabet = { u"脈"_qs, u"脉"_qs, u"衇"_qs, u"黃"_qs, u"耆"_qs, u"𤍠"_qs, u"熱"_qs, u"a"_qs };
    QRandomGenerator random(17);
    const auto pick = [&](const QStringList &from) { return from[int(random.bounded(quint32(from.size())))]; };
    const QStringList cjk = alphabet.mid(0, 7);
    int matched = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray value;
        for (int i = int(random.bounded(12u)); i > 0; --i)
            value += random.bounded(8u) == 0 ? QByteArray("\xE8") : pick(alphabet).toUtf8();
        // "%" + 1 to 3 positions (a character or a set of 1 to 3) per piece, 1 or 2 pieces.
        QList<QStringList> positions; // members of each position, in pattern order
        QList<int> pieceEnds;
        QString pattern = u"%"_qs;
        for (int piece = int(random.bounded(2u)); piece >= 0; --piece) {
            for (int k = int(random.bounded(3u)); k >= 0; --k) {
                QStringList members;
                for (int m = int(random.bounded(3u)); m >= 0; --m)
                    members << pick(cjk);
                positions << members;
                pattern += members.size() == 1 ? members.front() : u"["_qs + members.join(QString()) + u"]"_qs;
            }
            pieceEnds << int(positions.size());
            pattern += u"%"_qs;
        }
        bool anyExpansion = false;
        const std::function<void(int, QString)> expand = [&](int at, QString plain) {
            if (anyExpansion)
                return;
            if (at == positions.size()) {
                anyExpansion = LikePattern::compile(plain + u"%"_qs).value().matches(value.toStdString());
                return;
            }
            for (const QString &member : positions[at])
                expand(at + 1, plain + (pieceEnds.contains(at) ? u"%"_qs : QString()) + member);
        };
        expand(0, u"%"_qs);
        const Result<LikePattern> compiled = LikePattern::compile(pattern);
        QVERIFY(compiled.ok());
        QVERIFY2(compiled.value().matches(value.toStdString()) == anyExpansion,
                 qPrintable(pattern + u" on "_qs + QString::fromUtf8(value)));
        matched += anyExpansion ? 1 : 0;
    }
    QVERIFY(matched > 300); // both outcomes are reached
}

QTEST_GUILESS_MAIN(TestVariants)
#include "test_variants.moc"
