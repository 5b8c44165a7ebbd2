#!/usr/bin/python3
"""Writes the search benchmark corpora into a folder.

    make_corpus.py [--scale S] [--poetry DIR] OUTDIR

OUTDIR/poetry     real text: the poems of the chinese-poetry package grouped
                  into records of about 3 KB; Big5 pages under pages/
OUTDIR/poetry-big the same records repeated and shuffled up to S GB of content
                  (its pages folder links to the one of poetry)
OUTDIR/zipf       synthetic text, characters drawn by a Zipf law (0.2 x S GB)

Each folder holds jst.mdb (SQLite, page size 65536, table maindata) and
content.txt (one record's content per line, for grep-like tools). Without
the package only zipf is written, as the big corpus too, and the output says
so. Standard library only.
"""

import argparse
import json
import os
import pathlib
import random
import sqlite3
import sys

RECORD_BYTES = 3000


def poems(poetry_dir):
    folder = pathlib.Path(poetry_dir) / "dist" / "quantangshi"
    for path in sorted(folder.glob("poet.*.json")):
        for poem in json.loads(path.read_text(encoding="utf-8")):
            text = "".join(poem.get("paragraphs", []))
            if text:
                yield poem.get("title", ""), text


def poetry_records(poetry_dir):
    """(subject, content) records of a few kilobytes of whole poems."""
    title, parts, size = None, [], 0
    for poem_title, text in poems(poetry_dir):
        if title is None:
            title = poem_title
        parts.append(text)
        size += len(text.encode("utf-8"))
        if size >= RECORD_BYTES:
            yield title, "".join(parts)
            title, parts, size = None, [], 0
    if parts:
        yield title, "".join(parts)


def zipf_records(total_bytes, seed):
    rng = random.Random(seed)
    alphabet = [chr(c) for c in range(0x4E00, 0x4E00 + 6000)] + list("，。、；：？！")
    weights = [1.0 / (rank + 1) for rank in range(len(alphabet))]
    rng.shuffle(alphabet)
    written, n = 0, 0
    while written < total_bytes:
        text = "".join(rng.choices(alphabet, weights, k=3400))
        written += len(text.encode("utf-8"))
        n += 1
        yield "合成第%d篇" % n, text


def date_of(rng):
    # Whole days only, so that many records share a date.
    return "%04d-%02d-%02d 00:00:00" % (rng.randint(1990, 2020), rng.randint(1, 12), rng.randint(1, 28))


def write_page(folder, name, subject, content):
    html = ("<html><head><title>%s</title></head><body><h2>%s</h2><p>%s</p></body></html>\r\n"
            % (subject, subject, content))
    (folder / name).write_bytes(html.encode("cp950", errors="xmlcharrefreplace"))


def write_corpus(outdir, records, pages=None, seed=1):
    """records: (subject, htm, content); pages: folder for Big5 pages."""
    outdir.mkdir(parents=True, exist_ok=True)
    db_path = outdir / "jst.mdb"
    if db_path.exists():
        db_path.unlink()
    rng = random.Random(seed)
    db = sqlite3.connect(str(db_path))
    db.execute("PRAGMA page_size=65536")
    db.execute("CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT)")
    count, total = 0, 0
    with open(outdir / "content.txt", "w", encoding="utf-8", newline="\n") as text_file:
        def rows():
            nonlocal count, total
            for subject, htm, content in records:
                text_file.write(content.replace("\n", " ").replace("\r", " ") + "\n")
                count += 1
                total += len(content.encode("utf-8"))
                yield subject, htm, content, date_of(rng)
        db.executemany("INSERT INTO maindata VALUES(?,?,?,?)", rows())
    db.commit()
    db.close()
    print("%s: %d records, %.1f MB of content" % (outdir, count, total / 1e6))


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=float, default=1.0, help="GB of content in the big corpus")
    parser.add_argument("--poetry", default=str(pathlib.Path(__file__).resolve().parent.parent
                                                / "node_modules" / "chinese-poetry"))
    parser.add_argument("outdir")
    args = parser.parse_args(argv)
    out = pathlib.Path(args.outdir)
    big_bytes = int(args.scale * 1e9)
    write_corpus(out / "zipf", ((s, "z.htm", c) for s, c in zipf_records(big_bytes // 5, 5)), seed=5)
    if not (pathlib.Path(args.poetry) / "dist" / "quantangshi").is_dir():
        print("chinese-poetry not found at %s: writing the synthetic corpus as the big one instead" % args.poetry)
        write_corpus(out / "zipf-big", ((s, "z.htm", c) for s, c in zipf_records(big_bytes, 6)), seed=6)
        return 0
    base = list(poetry_records(args.poetry))
    pages = out / "poetry" / "pages"
    pages.mkdir(parents=True, exist_ok=True)
    for i, (subject, content) in enumerate(base):
        write_page(pages, "%06d.htm" % i, subject, content)
    write_corpus(out / "poetry", ((s, "pages\\%06d.htm" % i, c) for i, (s, c) in enumerate(base)), seed=1)
    write_corpus(out / "poetry-big", big_records(base, big_bytes), seed=2)
    link = out / "poetry-big" / "pages"
    if not link.exists():
        os.symlink(os.path.relpath(pages, link.parent), link)
    return 0


def big_records(base, big_bytes):
    rng = random.Random(2)
    order = list(range(len(base)))
    written, round_no = 0, 0
    while written < big_bytes:
        rng.shuffle(order)
        round_no += 1
        for i in order:
            subject, content = base[i]
            if written >= big_bytes:
                return
            written += len(content.encode("utf-8"))
            yield "%s (%d)" % (subject, round_no), "pages\\%06d.htm" % i, content


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
