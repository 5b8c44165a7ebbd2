#!/usr/bin/python3
"""Writes the sample collection of Tamvex into a program folder.

    make_collection.py [--empty] OUTDIR

OUTDIR receives jst.mdb (SQLite 3, table maindata), one Big5 (code page 950)
HTML page per record under the folder its htm value names, and every file
under pages/ (Help.htm, demo/index.htm), the .htm ones converted from their
UTF-8 sources to code page 950. --empty writes a maindata table without rows
and everything else as usual.

Only the standard library is used, so Debian's /usr/bin/python3 runs it as is.
"""

import argparse
import codecs
import datetime
import html
import os
import pathlib
import re
import sqlite3
import sys
from dataclasses import dataclass, field

HERE = pathlib.Path(__file__).resolve().parent
RECORDS_DIR = HERE / "records"
PAGES_DIR = HERE / "pages"

PAGE_ENCODING = "cp950"
NEWLINE = "\r\n"  # collections made on Windows carry CR LF line ends
DATE_PATTERN = re.compile(r"^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}$")
KNOWN_KEYS = {"subject", "htm", "date", "content", "comment", "script", "class"}

STYLE = ("body{font-family:\"PMingLiU\",\"Noto Serif CJK TC\",serif;"
         "background:#fffaf0;color:#2b2118;margin:18px 24px;line-height:1.8}"
         "h2{color:#7a3b12;font-size:22px;border-bottom:1px solid #d8b98a}"
         "p{text-indent:2em;margin:0.6em 0}"
         ".red{color:#a0181c}.font{font-size:110%}")


class CollectionError(Exception):
    """A record source that cannot be turned into a record."""


@dataclass
class Paragraph:
    text: str
    css_class: str = ""


@dataclass
class Record:
    source: pathlib.Path
    subject: str
    htm: str
    date: str
    content_is_null: bool = False
    comment: str = ""
    script: str = ""
    heading_class: str = ""
    paragraphs: list = field(default_factory=list)

    def content(self):
        """The plain text the page shows: heading, then each paragraph."""
        if self.content_is_null:
            return None
        return "\n".join([self.subject] + [p.text for p in self.paragraphs])


def parse_record(path):
    """Reads one record source: header lines 'key: value' up to the first
    blank line, then paragraphs separated by blank lines. A paragraph that
    starts with '@name ' gets class="name" and loses that prefix."""
    lines = path.read_text(encoding="utf-8").splitlines()
    header = {}
    index = 0
    while index < len(lines) and lines[index].strip():
        key, sep, value = lines[index].partition(":")
        key = key.strip()
        if not sep or key not in KNOWN_KEYS:
            raise CollectionError(f"{path.name}:{index + 1}: unknown header line {lines[index]!r}")
        header[key] = value.strip()
        index += 1
    for key in ("subject", "htm", "date"):
        if not header.get(key):
            raise CollectionError(f"{path.name}: header '{key}' is missing")
    record = Record(source=path, subject=header["subject"], htm=header["htm"],
                    date=header["date"],
                    content_is_null=header.get("content", "") == "null",
                    comment=header.get("comment", ""),
                    script=header.get("script", ""),
                    heading_class=header.get("class", ""))
    block = []
    for line in lines[index:] + [""]:
        if line.strip():
            block.append(line.strip())
        elif block:
            record.paragraphs.append(make_paragraph("".join(block)))
            block = []
    check_record(record)
    return record


def make_paragraph(text):
    match = re.match(r"^@([A-Za-z][A-Za-z0-9_-]*) (.*)$", text)
    if match:
        return Paragraph(text=match.group(2), css_class=match.group(1))
    return Paragraph(text=text)


def check_record(record):
    name = record.source.name
    if not DATE_PATTERN.match(record.date):
        raise CollectionError(f"{name}: date {record.date!r} is not 'YYYY-MM-DD HH:MM:SS'")
    try:
        datetime.datetime.strptime(record.date, "%Y-%m-%d %H:%M:%S")
    except ValueError as error:
        raise CollectionError(f"{name}: date {record.date!r}: {error}") from None
    if "/" in record.htm or record.htm.startswith("\\") or ".." in record.htm.split("\\"):
        raise CollectionError(f"{name}: htm {record.htm!r} must be relative, folders separated by '\\'")
    if not record.paragraphs:
        raise CollectionError(f"{name}: the record has no text")


def load_records():
    """All record sources in file-name order; htm values must be unique."""
    records = [parse_record(path) for path in sorted(RECORDS_DIR.glob("*.txt"))]
    seen = {}
    for record in records:
        key = record.htm.lower()
        if key in seen:
            raise CollectionError(f"{record.source.name}: htm {record.htm!r} already used by {seen[key]}")
        seen[key] = record.source.name
    return records


# Characters that code page 950 lacks are written as hexadecimal numeric
# character references, the way an HTML editor saving as Big5 does.
def _reference_replace(error):
    if not isinstance(error, UnicodeEncodeError):
        raise error
    bad = error.object[error.start:error.end]
    _reference_replace.seen.extend(bad)
    return "".join(f"&#x{ord(c):X};" for c in bad), error.end


_reference_replace.seen = []
codecs.register_error("tamvex-reference", _reference_replace)


def encode_page(text, label):
    """Encodes page text as code page 950, reporting what became a reference."""
    _reference_replace.seen = []
    data = text.encode(PAGE_ENCODING, errors="tamvex-reference")
    if _reference_replace.seen:
        codes = " ".join(f"U+{ord(c):04X}" for c in _reference_replace.seen)
        print(f"{label}: outside code page 950, written as references: {codes}")
    return data


def render_page(record):
    def esc(text):
        return html.escape(text, quote=False)

    out = ["<html><head><meta charset=big5><title>" + esc(record.subject) + "</title>",
           "<style>" + STYLE + "</style></head><body>"]
    if record.comment:
        out.append("<!-- " + record.comment + " -->")
    heading_class = f' class="{record.heading_class}"' if record.heading_class else ""
    out.append(f"<h2{heading_class}>" + esc(record.subject) + "</h2>")
    for paragraph in record.paragraphs:
        attr = f' class="{paragraph.css_class}"' if paragraph.css_class else ""
        out.append(f"<p{attr}>" + esc(paragraph.text) + "</p>")
    if record.script:
        note = record.script.replace("\\", "\\\\").replace('"', '\\"')
        out += ["<script>",
                "// " + record.script,
                'document.body.setAttribute("data-note", "' + note + '");',
                "</script>"]
    out.append("</body></html>")
    return NEWLINE.join(out) + NEWLINE


def write_file(path, data):
    """Writes through a temporary file so a failed run leaves the old file whole."""
    path.parent.mkdir(parents=True, exist_ok=True)
    temp = path.with_name(path.name + ".part")
    temp.write_bytes(data)
    os.replace(temp, path)


def write_pages(records, outdir):
    for record in records:
        target = outdir.joinpath(*record.htm.split("\\"))
        write_file(target, encode_page(render_page(record), record.htm))


def write_static_pages(outdir):
    """Copies pages/ into outdir; .htm sources are UTF-8 and become code page 950."""
    for source in sorted(p for p in PAGES_DIR.rglob("*") if p.is_file()):
        relative = source.relative_to(PAGES_DIR)
        data = source.read_bytes()
        if source.suffix.lower() == ".htm":
            text = data.decode("utf-8").replace("\r\n", "\n").replace("\n", NEWLINE)
            data = encode_page(text, str(relative))
        write_file(outdir / relative, data)


def write_database(records, outdir):
    """Writes jst.mdb anew; rows go in in record order."""
    target = outdir / "jst.mdb"
    temp = outdir / "jst.mdb.part"
    if temp.exists():
        temp.unlink()
    connection = sqlite3.connect(temp)
    try:
        connection.execute("PRAGMA page_size=65536")
        connection.execute("CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT)")
        connection.executemany(
            "INSERT INTO maindata(subject, htm, content, date) VALUES (?, ?, ?, ?)",
            [(r.subject, r.htm, r.content(), r.date) for r in records])
        connection.commit()
    finally:
        connection.close()
    os.replace(temp, target)


def main(argv):
    parser = argparse.ArgumentParser(description="Write the sample collection into OUTDIR.")
    parser.add_argument("outdir", type=pathlib.Path)
    parser.add_argument("--empty", action="store_true",
                        help="leave the maindata table without rows")
    args = parser.parse_args(argv)
    try:
        records = load_records()
        args.outdir.mkdir(parents=True, exist_ok=True)
        write_pages(records, args.outdir)
        write_static_pages(args.outdir)
        write_database([] if args.empty else records, args.outdir)
    except (CollectionError, OSError, sqlite3.Error, UnicodeError) as error:
        print(f"make_collection.py: {error}", file=sys.stderr)
        return 1
    rows = 0 if args.empty else len(records)
    print(f"make_collection.py: {len(records)} pages, {rows} rows in {args.outdir / 'jst.mdb'}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
