// Marks three frequent terms in a 1 MB Big5 page and prints the median time
// of 15 runs. The page is built in memory: paragraphs of classical medical
// text between the usual tags, with now and then a link, a comment, a style
// block and a character reference, as collection pages have them.

#include "big5table.h"
#include "pagemarker.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
const QStringList Phrases {
    QStringLiteral("傷寒一日，巨陽受之，故頭項痛，腰脊強。"),
    QStringLiteral("太陽病，發熱，汗出，惡風，脈緩者，名為中風。"),
    QStringLiteral("病人身熱足寒，頸項強急，惡寒，時頭熱，面赤，目赤，獨頭面搖。"),
    QStringLiteral("治頭痛發熱，身疼腰痛，骨節疼痛，惡風無汗而喘者，麻黃湯主之。"),
    QStringLiteral("凡用藥之法，先辨其虛實，次察其寒熱，然後處方。"),
    QStringLiteral("右五味，以水七升，煮取三升，去滓，溫服一升。"),
    QStringLiteral("脾胃虛弱，飲食不化，氣血兩虧，宜補中益氣。"),
    QStringLiteral("肝主疏泄，心主血脈，肺主氣司呼吸，腎主藏精。"),
};

QByteArray makePage(qsizetype targetBytes)
{
    QStringEncoder encoder("windows-950");
    QRandomGenerator random(950);
    QString text = QStringLiteral("<html><head><title>醫書</title>"
                                  "<style>p { line-height: 1.6 }</style></head><body>\n");
    qsizetype paragraph = 0;
    while (text.size() * 2 < targetBytes * 6 / 5) {
        text += QStringLiteral("<p class=\"text\">");
        const int sentences = 3 + int(random.bounded(8));
        for (int s = 0; s < sentences; ++s)
            text += Phrases.at(int(random.bounded(Phrases.size())));
        text += QStringLiteral("</p>\n");
        if (++paragraph % 20 == 0)
            text += QStringLiteral("<!-- 卷 --><a href=\"page%1.htm\">下一頁&nbsp;&#x4E00;</a>\n").arg(paragraph);
    }
    text += QStringLiteral("</body></html>\n");
    QByteArray page = encoder.encode(text);
    page.truncate(targetBytes);
    return page;
}
}

int main()
{
    const QByteArray page = makePage(1024 * 1024);
    const QStringList terms { QStringLiteral("發熱"), QStringLiteral("頭痛"), QStringLiteral("之") };
    const auto tableStart = std::chrono::steady_clock::now();
    Big5Table::instance();
    const double tableTime =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - tableStart).count();
    std::vector<double> times;
    qsizetype markedSize = 0;
    for (int run = 0; run < 15; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const QByteArray marked = markPage(page, terms);
        const auto end = std::chrono::steady_clock::now();
        markedSize = marked.size();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    // The first run also allocates the working storage that later runs reuse.
    const double first = times.front();
    std::sort(times.begin(), times.end());
    const qsizetype marks = (markedSize - page.size()) / (OpenMark.size() + CloseMark.size());
    std::printf("page %lld bytes, 3 terms, %lld marks: median of %zu runs %.3f ms"
                " (first run %.3f ms; code page table built once in %.3f ms)\n",
                static_cast<long long>(page.size()), static_cast<long long>(marks), times.size(),
                times[times.size() / 2], first, tableTime);
    return 0;
}
