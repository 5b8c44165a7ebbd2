#!/usr/bin/env python3
"""Writes a large Jet 4.0 file, table maindata, for the Jet loader benchmark.

    make_big_jet.py GENERATOR TEMPLATE OUT.mdb [--rows N] [--seed N]

GENERATOR is the shared make_jet_fixture.py, TEMPLATE its node-adodb.mdb.
The rows are synthetic classical-looking text (seeded, so every run writes
the same file): most memos fit one long-value page, one in sixteen is a
multi-page chain. The default gives about 27 million characters of content
(55 MB as stored UTF-16, 80 MB as UTF-8).

The generator's usage maps cover 512 pages, which is enough for the table's
data pages (they are allocated first) but not for the long-value pages of a
file this size. Those maps only guide a writer looking for free space; a
reader follows each memo's own page pointer. So this script leaves the
long-value pages beyond the maps' reach out of them, and likewise of the
database's free-page map, and checks every row by reading the file back
with the generator's own decoder.
"""
import argparse
import datetime
import importlib.util
import random
import struct
import sys


def load_generator(path):
    found = importlib.util.spec_from_file_location('make_jet_fixture', path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def make_corpus(rnd, size):
    # A Zipf-like draw from common CJK ideographs, with punctuation.
    pool = [chr(c) for c in range(0x4E00, 0x4E00 + 3500)]
    weights = [1.0 / (rank + 1) for rank in range(len(pool))]
    chars = rnd.choices(pool, weights, k=size)
    for i in range(11, size, 13):
        chars[i] = '，' if i % 4 else '。'
    return ''.join(chars)


def make_rows(count, seed):
    rnd = random.Random(seed)
    corpus = make_corpus(rnd, 4_000_000)
    start = datetime.datetime(1950, 1, 1)
    rows = []
    for i in range(count):
        length = rnd.randint(6000, 12000) if i % 16 == 15 else rnd.randint(1000, 2000)
        at = rnd.randrange(0, len(corpus) - length)
        content = corpus[at:at + length]
        if i % 97 == 0:
            content += ' 𠀀 ABC'                       # outside the BMP, and ASCII
        when = start + datetime.timedelta(days=i // 3, seconds=rnd.randrange(86400))
        rows.append({
            'subject': '卷%d　第%d篇' % (i // 100 + 1, i % 100 + 1),
            'htm': 'books\\b%03d\\p%05d.htm' % (i // 100 + 1, i),
            'content': None if i % 500 == 499 else content,
            'date': when.strftime('%Y-%m-%dT%H:%M:%S'),
        })
    return rows


def big_builder(gen):
    class BigBuilder(gen.Builder):
        def write_usage_maps(self):
            reach = gen.MAP_BYTES * 8
            assert max(self.data_pages) < reach, 'too many data pages for the usage map: fewer rows'
            lval = sorted(n for n, _ in self.lval_pages if n < reach)
            lval_free = sorted(n for n, rows in self.lval_pages
                               if n < reach and gen.page_free(rows) >= gen.MAX_INLINE)
            rows = [[0, gen.usage_map(self.data_pages)],
                    [0, gen.usage_map(self.data_pages)],
                    [0, gen.usage_map(lval)],
                    [0, gen.usage_map(lval_free)]]
            self.jf.put(self.map_pg, gen.build_data_page(bytes(4), rows))

        def write_global_map(self):
            rows = self.jf.rows(1)
            m = bytearray(rows[0][1])
            for p in range(min(self.jf.npages, (len(m) - 5) * 8)):
                m[5 + p // 8] &= ~(1 << (p % 8)) & 0xFF
            rows[0][1] = bytes(m)
            self.jf.put(1, gen.build_data_page(self.jf.page(1)[4:8], rows))
    return BigBuilder


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    ap.add_argument('generator')
    ap.add_argument('template')
    ap.add_argument('out')
    ap.add_argument('--rows', type=int, default=14000)
    ap.add_argument('--seed', type=int, default=2024)
    a = ap.parse_args()

    gen = load_generator(a.generator)
    rows = make_rows(a.rows, a.seed)
    data = big_builder(gen)(open(a.template, 'rb').read(), rows, 255).build()
    want = [(r['subject'], r['htm'], r['content'], gen.iso(gen.parse_date(r['date']))) for r in rows]
    if gen.read_back(data) != want:
        sys.exit('self-check failed: rows read back differ')
    with open(a.out, 'wb') as f:
        f.write(data)
    text = [r['content'] for r in rows if r['content'] is not None]
    chars = sum(len(t) for t in text)
    utf16 = sum(len(t.encode('utf-16-le')) for t in text)
    utf8 = sum(len(t.encode('utf-8')) for t in text)
    print('%s: %d rows, %d bytes; content %d characters, %.1f MB UTF-16, %.1f MB UTF-8'
          % (a.out, len(rows), len(data), chars, utf16 / 1e6, utf8 / 1e6))


if __name__ == '__main__':
    main()
