#!/usr/bin/python3
"""Checks the sample collection that make_collection.py writes.

Runs the generator into a temporary folder and checks what the program and
the test writers rely on: the table's shape, the designed search cases, and
pages that are valid code page 950 agreeing with the searchable text.
Standard library only; glibc's iconv, when present, is a second decoder.
"""

import html
import pathlib
import re
import shutil
import sqlite3
import struct
import subprocess
import sys
import tempfile
import unittest

SOURCE = pathlib.Path(__file__).resolve().parents[2]
GENERATOR = SOURCE / "collection" / "make_collection.py"
RESOURCES = SOURCE / "src" / "app" / "gui" / "resources"


def run_generator(outdir, *options):
    return subprocess.run([sys.executable, str(GENERATOR), *options, str(outdir)],
                          capture_output=True, text=True, check=True)


def page_path(outdir, htm):
    return outdir.joinpath(*htm.split("\\"))


def visible_text(page):
    """The page text a reader sees: no comments, scripts, styles or tags."""
    page = re.sub(r"<!--.*?-->|<script>.*?</script>|<style>.*?</style>|<title>.*?</title>",
                  "", page, flags=re.S)
    return html.unescape(re.sub(r"<[^>]*>", "", page))


class CollectionTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = pathlib.Path(tempfile.mkdtemp(prefix="tamvex-collection-"))
        cls.out = cls.tmp / "full"
        run_generator(cls.out)
        db = sqlite3.connect(cls.out / "jst.mdb")
        cls.rows = db.execute("select subject, htm, content, date from maindata order by rowid").fetchall()
        cls.page_size = db.execute("PRAGMA page_size").fetchone()[0]
        cls.schema = db.execute("select sql from sqlite_master where name='maindata'").fetchone()[0]
        db.close()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def matching(self, term):
        return [s for s, _, c, _ in self.rows if c is not None and term in c]

    def test_table_shape(self):
        self.assertEqual(self.schema,
                         "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT)")
        self.assertEqual(self.page_size, 65536)
        self.assertGreaterEqual(len(self.rows), 40)

    def test_dates_sort_as_text_and_only_one_pair_repeats(self):
        dates = [d for *_, d in self.rows]
        for d in dates:
            self.assertRegex(d, r"^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}$")
        repeated = {d for d in dates if dates.count(d) > 1}
        self.assertEqual(len(repeated), 1)
        self.assertEqual(dates.count(repeated.pop()), 2)
        self.assertLess(min(dates), "1900")

    def test_designed_cases(self):
        both = set(self.matching("發熱")) & set(self.matching("頭痛"))
        self.assertGreaterEqual(len(both), 3)
        self.assertGreaterEqual(len(set(self.matching("發熱")) - both), 3)
        self.assertGreaterEqual(len(set(self.matching("頭痛")) - both), 3)
        for rare in ("蟾酥", "薤白", "燈心草", "歷節", "\U0002000B", "丨"):
            with self.subTest(term=rare):
                self.assertEqual(len(self.matching(rare)), 1)
        self.assertEqual(sum(1 for *_, c, _ in self.rows if c is None), 1)
        for term in ("'", "ABC", "abc", "_", "[x]", "%"):
            with self.subTest(term=term):
                self.assertEqual(len(self.matching(term)), 1)
        self.assertNotEqual(self.matching("ABC"), self.matching("abc"))
        self.assertIn("'", next(s for s in self.matching("'")))

    def test_sub_folder_paths_use_backslashes(self):
        nested = [h for _, h, _, _ in self.rows if "\\" in h]
        self.assertTrue(nested)
        self.assertTrue(any("\\" not in h for _, h, _, _ in self.rows))
        self.assertFalse(any("/" in h for _, h, _, _ in self.rows))

    def test_pages_are_cp950_and_show_the_content(self):
        for subject, htm, content, _ in self.rows:
            with self.subTest(htm=htm):
                data = page_path(self.out, htm).read_bytes()
                text = data.decode("cp950")  # strict: every byte pair valid
                self.assertIn("<meta charset=big5>", text)
                if content is not None:
                    shown = visible_text(text)
                    for line in content.split("\n"):
                        self.assertIn(line, shown)

    def test_pages_decode_alike_in_iconv(self):
        iconv = shutil.which("iconv")
        if not iconv:
            self.skipTest("iconv not installed")
        for htm in [h for _, h, _, _ in self.rows] + ["Help.htm", "demo\\index.htm"]:
            data = page_path(self.out, htm).read_bytes()
            decoded = subprocess.run([iconv, "-f", "CP950", "-t", "UTF-8"], input=data,
                                     capture_output=True, check=True).stdout.decode("utf-8")
            self.assertEqual(decoded, data.decode("cp950"), htm)

    def test_help_and_demo_pages(self):
        for name, needle in (("Help.htm", "條件存取"), ("demo/index.htm", "發熱")):
            with self.subTest(page=name):
                self.assertIn(needle, (self.out / name).read_bytes().decode("cp950"))

    def test_empty_option_keeps_pages_but_no_rows(self):
        empty = self.tmp / "empty"
        run_generator(empty, "--empty")
        db = sqlite3.connect(empty / "jst.mdb")
        self.assertEqual(db.execute("select count(*) from maindata").fetchone()[0], 0)
        db.close()
        self.assertTrue((empty / "Help.htm").is_file())
        self.assertTrue(page_path(empty, self.rows[0][1]).is_file())


def picture_size(path):
    data = path.read_bytes()
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        return struct.unpack(">II", data[16:24])
    pos = 2
    while pos < len(data):
        marker, length = data[pos + 1], struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            height, width = struct.unpack(">HH", data[pos + 5:pos + 9])
            return width, height
        pos += 2 + length
    raise ValueError(f"{path}: no frame header")


class ArtworkTest(unittest.TestCase):
    SIZES = {"start.jpg": (800, 580), "query-normal.jpg": (170, 60),
             "query-pressed.jpg": (141, 50), "set-normal.jpg": (170, 60),
             "main-panel.png": (800, 580), "search-button.png": (67, 28),
             "icon.png": (64, 64)}

    def test_pictures_have_their_sizes_and_are_listed(self):
        qrc = (RESOURCES / "resources.qrc").read_text(encoding="utf-8")
        self.assertIn('prefix="/tamvex"', qrc)
        for name, size in self.SIZES.items():
            with self.subTest(picture=name):
                self.assertEqual(picture_size(RESOURCES / name), size)
                self.assertIn(f">{name}<", qrc)


if __name__ == "__main__":
    unittest.main(verbosity=2)
