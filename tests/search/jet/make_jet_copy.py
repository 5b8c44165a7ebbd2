#!/usr/bin/env python3
"""Writes a Jet 4 copy of an SQLite jst.mdb (the sample collection).

    make_jet_copy.py GENERATOR TEMPLATE SQLITE_MDB OUT_MDB

The shared Jet generator takes dates from 1899-12-30 on only, while the
sample collection's go back to the eleventh century. Dates are therefore
mapped, in order, onto consecutive days from 1900-01-01: equal dates stay
equal and the order of every search stays the same, which is all that the
comparison with the SQLite original needs. Rows keep their storage order.
"""
import datetime
import json
import sqlite3
import subprocess
import sys
import tempfile


def main():
    generator, template, source, out = sys.argv[1:5]
    db = sqlite3.connect(source)
    rows = db.execute('select subject, htm, content, date from maindata order by rowid').fetchall()
    days = {d: i for i, d in enumerate(sorted({r[3] for r in rows}))}
    start = datetime.datetime(1900, 1, 1)
    records = [{
        'subject': s, 'htm': h, 'content': c,
        'date': (start + datetime.timedelta(days=days[d])).isoformat(timespec='seconds'),
    } for s, h, c, d in rows]
    with tempfile.NamedTemporaryFile('w', suffix='.json', encoding='utf-8', delete=False) as f:
        json.dump({'rows': records}, f, ensure_ascii=False)
    subprocess.run([sys.executable, generator, template, f.name, out], check=True,
                   stdout=subprocess.DEVNULL)


if __name__ == '__main__':
    main()
