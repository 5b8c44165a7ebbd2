#include "setsequence.h"

#include <QList>

#include <algorithm>

namespace {
bool isPlain(char32_t c)
{
    return c != U'%' && c != U'_' && c != U'[' && c != U']' && c != U'!' && c != U'-' && c != 0 && c != 0xFFFD
        && !(c >= 0xD800 && c <= 0xDFFF);
}
}

std::pair<qsizetype, qsizetype> betweenPercentSigns(const QList<uint> &cps)
{
    qsizetype b = 0, e = cps.size();
    while (b < e && cps[b] == U'%')
        ++b;
    while (e > b && cps[e - 1] == U'%')
        --e;
    return {b, e};
}

std::optional<std::vector<std::u32string>> setSequence(const QString &pattern, char32_t (*fold)(char32_t))
{
    const QList<uint> cps = QStringView(pattern).toUcs4();
    const auto [b, e] = betweenPercentSigns(cps);
    if (b == 0 || e == cps.size() || b == e)
        return std::nullopt;
    std::vector<std::u32string> positions;
    bool anySet = false;
    for (qsizetype i = b; i < e; ++i) {
        std::u32string members;
        if (cps[i] == U'[') {
            qsizetype k = i + 1;
            for (; k < e && cps[k] != U']'; ++k) {
                if (!isPlain(char32_t(cps[k])))
                    return std::nullopt;
                members.push_back(fold(char32_t(cps[k])));
            }
            if (k >= e || members.empty())
                return std::nullopt;
            i = k;
        } else if (isPlain(char32_t(cps[i]))) {
            members.push_back(fold(char32_t(cps[i])));
        } else {
            return std::nullopt;
        }
        std::sort(members.begin(), members.end());
        members.erase(std::unique(members.begin(), members.end()), members.end());
        anySet = anySet || members.size() > 1;
        positions.push_back(std::move(members));
    }
    if (!anySet)
        return std::nullopt;
    return positions;
}
