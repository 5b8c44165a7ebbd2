#include "likeliterals.h"

#include "textkeys.h"

#include <QList>

namespace {

// Position just past the set that opens at cps[i] == '[', or npos when the
// set is not closed. Sets false in empty when the set matches a character.
std::size_t skipSet(const QList<uint> &cps, std::size_t i, bool &empty)
{
    std::size_t j = i + 1;
    const bool negated = j < std::size_t(cps.size()) && cps[j] == U'!';
    if (negated)
        ++j;
    const std::size_t start = j;
    while (j < std::size_t(cps.size()) && cps[j] != U']')
        ++j;
    if (j >= std::size_t(cps.size()))
        return std::u32string::npos;
    empty = !negated && j == start;
    return j + 1;
}

void closeRun(std::u32string &run, std::vector<std::u32string> &runs)
{
    if (!run.empty())
        runs.push_back(run);
    run.clear();
}
}

std::vector<std::u32string> literalRuns(const QString &pattern)
{
    const QList<uint> cps = QStringView(pattern).toUcs4();
    std::vector<std::u32string> runs;
    std::u32string run;
    for (std::size_t i = 0; i < std::size_t(cps.size());) {
        const char32_t c = char32_t(cps[i]);
        if (c == U'[') {
            bool empty = false;
            const std::size_t next = skipSet(cps, i, empty);
            if (next == std::u32string::npos)
                return {};
            if (!empty)
                closeRun(run, runs); // "[]" stands for nothing: the run goes on
            i = next;
            continue;
        }
        if (c == U'%' || c == U'_')
            closeRun(run, runs);
        else
            run.push_back(TextKeys::fold(char32_t(c)));
        ++i;
    }
    closeRun(run, runs);
    return runs;
}
