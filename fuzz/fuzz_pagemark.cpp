// Page marking: for any page bytes and terms, deleting inserted OpenMark and
// CloseMark strings from the marked page gives the page back byte for byte,
// and the marks come in pairs.
//
// Input: terms, one byte 0x00, then the page bytes. The terms part is Big5
// (code page 950), cut at 0x01 bytes, so terms can be found in the page.

#include "pagemarker.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <unordered_set>
#include <vector>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_pagemark: %s\n", what);
        std::abort();
    }
}

bool markAt(QByteArrayView marked, qsizetype at, QByteArrayView mark)
{
    return marked.size() - at >= mark.size() && marked.sliced(at, mark.size()) == mark;
}

// True when page is marked with some OpenMark / CloseMark strings deleted.
// A search over (position in marked, position in page) rather than a greedy
// strip: the page may itself hold the very text of a mark.
bool isPageWithMarks(QByteArrayView marked, QByteArrayView page)
{
    std::unordered_set<std::uint64_t> seen;
    std::vector<std::pair<qsizetype, qsizetype>> todo{{0, 0}};
    while (!todo.empty()) {
        const auto [i, j] = todo.back();
        todo.pop_back();
        if (!seen.insert((std::uint64_t(i) << 32) | std::uint64_t(j)).second)
            continue;
        if (i == marked.size() && j == page.size())
            return true;
        if (i < marked.size() && j < page.size() && marked[i] == page[j])
            todo.push_back({i + 1, j + 1});
        if (markAt(marked, i, OpenMark))
            todo.push_back({i + OpenMark.size(), j});
        if (markAt(marked, i, CloseMark))
            todo.push_back({i + CloseMark.size(), j});
    }
    return false;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype cut = input.indexOf('\0');
    const QByteArrayView termBytes = cut < 0 ? input : input.first(cut);
    const QByteArrayView page = cut < 0 ? QByteArrayView() : input.sliced(cut + 1);

    QStringDecoder big5("windows-950");
    check(big5.isValid(), "no code page 950 decoder");
    QStringList terms;
    for (const QByteArray &piece : termBytes.toByteArray().split('\x01'))
        terms << big5.decode(piece);

    const QByteArray marked = markPage(page, terms);
    const qsizetype added = marked.size() - page.size();
    check(added >= 0 && added % (OpenMark.size() + CloseMark.size()) == 0, "marks are not in pairs");
    check(isPageWithMarks(marked, page), "removing the marks does not give the page back");
    // Marking is a function of its input.
    check(markPage(page, terms) == marked, "a second run marks differently");
    return 0;
}
