#!/usr/bin/python3
"""Whole processes on one collection folder, side by side in one run.

    bench_processes.py --cli PATH [--runs N] [--cjk TERM | --suite-json FILE]
                       [--latin TERM] [--json FILE] COLLECTION_DIR

COLLECTION_DIR holds jst.mdb and content.txt as make_corpus.py writes them.
Each `tamvex-cli search --program-folder DIR QUERY` runs alternately with the
`sqlite3` shell running the same statement (the one `tamvex-cli statement`
prints) with SQLite's built-in LIKE, both with standard output to /dev/null,
in the same loop, after one warm-up of each (warm page cache). First without
an index (tmp/tamvex-index-* removed), then after `tamvex-cli index`, whose
wall time, peak memory and index size are measured too. `rg -F -c` over
content.txt runs beside the scan without an index.

Queries: a rare CJK term, a Latin term in capitals (case ignored: the corpus
holds it in small letters), list-all. Medians of N runs (default 5, 3 when
the content is 0.5 GB or more); peak memory is each child's ru_maxrss.
Prints a markdown table; --json writes the figures for bench/summary.
Standard library only.
"""

import argparse
import collections
import glob
import json
import os
import re
import sqlite3
import statistics
import subprocess
import sys
import threading
import time

DEVNULL = subprocess.DEVNULL


class AnonSampler:
    """Peak anonymous memory (RssAnon: heap, not mapped files) of a process,
    sampled every 10 ms from /proc while it runs."""

    def __init__(self, pid):
        self.pid, self.peak_kb, self._stop = pid, 0, threading.Event()
        self._thread = threading.Thread(target=self._poll, daemon=True)
        self._thread.start()

    def _poll(self):
        path = "/proc/%d/status" % self.pid
        while not self._stop.is_set():
            try:
                with open(path, encoding="ascii") as status:
                    for line in status:
                        if line.startswith("RssAnon:"):
                            self.peak_kb = max(self.peak_kb, int(line.split()[1]))
            except (OSError, ValueError):
                pass
            self._stop.wait(0.01)

    def stop(self):
        self._stop.set()
        self._thread.join()
        return self.peak_kb / 1024.0


class Launcher:
    """Starts the measured processes from a small forked helper.

    A child's ru_maxrss starts from the RSS of the process that spawned it
    (exec keeps the old address space's high-water mark), so children of
    this script, which reads samples and whole result lists, would show its
    peak. The helper is forked while the script is small and only spawns and
    waits; `floor_mb` is what a do-nothing child shows through it."""

    def __init__(self):
        requests_r, self._requests = os.pipe()
        self._answers, answers_w = os.pipe()
        self.pid = os.fork()
        if self.pid == 0:
            os.close(self._requests)
            os.close(self._answers)
            self._serve(os.fdopen(requests_r, "r"), os.fdopen(answers_w, "w"))
            os._exit(0)
        os.close(requests_r)
        os.close(answers_w)
        self._out, self._in = os.fdopen(self._requests, "w"), os.fdopen(self._answers, "r")
        self.floor_mb = self.run(["true"])["rss_mb"]

    @staticmethod
    def _serve(requests, answers):
        for line in requests:
            request = json.loads(line)
            start = time.perf_counter()
            try:
                child = subprocess.Popen(request["argv"], stdout=DEVNULL, stderr=DEVNULL)
            except OSError as error:  # not installed: an exit code, not a dead helper
                answers.write(json.dumps({"ms": 0.0, "rss_mb": 0.0, "code": 127, "anon_mb": None,
                                          "error": str(error)}) + "\n")
                answers.flush()
                continue
            sampler = AnonSampler(child.pid) if request.get("anon") else None
            _, status, usage = os.wait4(child.pid, 0)
            wall = (time.perf_counter() - start) * 1e3
            answers.write(json.dumps({"ms": wall, "rss_mb": usage.ru_maxrss / 1024.0,
                                      "code": os.waitstatus_to_exitcode(status),
                                      "anon_mb": sampler.stop() if sampler else None}) + "\n")
            answers.flush()

    def run(self, argv, anon=False):
        """{ms, rss_mb, code, anon_mb} of one child, standard output to /dev/null."""
        self._out.write(json.dumps({"argv": argv, "anon": anon}) + "\n")
        self._out.flush()
        return json.loads(self._in.readline())

    def close(self):
        self._out.close()
        os.waitpid(self.pid, 0)


def median_pair(launcher, commands, runs):
    """Runs the commands alternately (order flipped each round, so that drift
    and neighbours' noise hit both); per command its median wall ms, median
    peak RSS MB and the exit codes seen."""
    for argv in commands:  # warm-up, not counted
        launcher.run(argv)
    walls = [[] for _ in commands]
    rss = [[] for _ in commands]
    codes = [set() for _ in commands]
    for i in range(runs):
        order = range(len(commands)) if i % 2 == 0 else reversed(range(len(commands)))
        for k in order:
            one = launcher.run(commands[k])
            walls[k].append(one["ms"])
            rss[k].append(one["rss_mb"])
            codes[k].add(one["code"])
    return [{"ms": statistics.median(w), "rss_mb": statistics.median(r), "exit_codes": sorted(c)}
            for w, r, c in zip(walls, rss, codes)]


class Collection:
    def __init__(self, folder, cli):
        self.dir = os.path.abspath(folder)
        self.db = os.path.join(self.dir, "jst.mdb")
        self.text = os.path.join(self.dir, "content.txt")
        self.name = os.path.basename(self.dir.rstrip("/"))
        self.cli = cli
        db = sqlite3.connect("file:%s?mode=ro" % self.db, uri=True)
        self.records, self.content_bytes = db.execute(
            "select count(*), sum(length(cast(content as blob))) from maindata").fetchone()
        db.close()

    def index_files(self):
        return glob.glob(os.path.join(self.dir, "tmp", "tamvex-index-*"))

    def drop_index(self):
        for path in self.index_files():
            os.remove(path)

    def statement(self, query):
        """The SQL our search runs for the query box text, as the CLI builds it."""
        out = subprocess.run([self.cli, "statement", query], capture_output=True, check=True).stdout
        return out.decode("utf-8").split("\n", 2)[2].rstrip("\n")

    def ours(self, query):
        return [self.cli, "search", "--program-folder", self.dir, query]

    def shell(self, sql, separator="|"):
        return ["sqlite3", "-readonly", "-separator", separator, self.db, sql]


def same_rows(col, query, sql):
    """Compares the rows of both tools once, outside the timing."""
    ours = subprocess.run(col.ours(query), capture_output=True).stdout.decode("utf-8").splitlines()
    shell = subprocess.run(col.shell(sql, "\t"), capture_output=True).stdout.decode("utf-8").splitlines()
    if ours == shell:
        return len(ours), "same rows, same order"
    if sorted(ours) == sorted(shell):
        return len(ours), "same rows, other order"
    return len(ours), "rows differ (ours %d, shell %d)" % (len(ours), len(shell))


def measure_queries(launcher, col, queries, runs):
    figures = {}
    for key, query in queries.items():
        if query is None:
            figures[key] = None
            continue
        sql = col.statement(query)
        ours, shell = median_pair(launcher, [col.ours(query), col.shell(sql)], runs)
        rows, check = same_rows(col, query, sql)
        figures[key] = {"query": query, "sql": sql, "rows": rows, "check": check,
                        "ours": ours, "shell": shell, "ratio": shell["ms"] / ours["ms"]}
    return figures


def measure_rg(launcher, col, term, runs):
    """rg -F -c over content.txt beside our scan of the same term."""
    if not term:
        return None
    ours, rg = median_pair(launcher, [col.ours(term), ["rg", "-F", "-c", term, col.text]], runs)
    count = subprocess.run(["rg", "-F", "-c", term, col.text], capture_output=True).stdout.decode().strip()
    gb = col.content_bytes / 1e9
    return {"term": term, "rg": rg, "rg_lines": int(count or 0), "ours": ours,
            "ours_gbs": gb / (ours["ms"] / 1e3), "rg_gbs": os.path.getsize(col.text) / 1e9 / (rg["ms"] / 1e3),
            "ratio": ours["ms"] / rg["ms"]}


def build_index(launcher, col):
    """Runs `tamvex-cli index`; "available" false when this build has no such command."""
    col.drop_index()
    one = launcher.run([col.cli, "index", "--program-folder", col.dir], anon=True)
    size = sum(os.path.getsize(p) for p in col.index_files())
    if one["code"] != 0 or size == 0:
        return {"available": False, "exit_code": one["code"]}
    return {"available": True, "seconds": one["ms"] / 1e3, "peak_rss_mb": one["rss_mb"],
            "peak_anon_mb": one["anon_mb"], "size_bytes": size, "size_ratio": size / col.content_bytes}


def rare_cjk(col, sample_bytes=8 << 20):
    """A CJK pair held by exactly one line of the start of content.txt."""
    with open(col.text, "rb") as f:
        lines = f.read(sample_bytes).decode("utf-8", errors="ignore").splitlines()[:-1]
    pair = re.compile(r"(?=([\u4e00-\u9fff]{2}))")
    counts = collections.Counter()
    for line in lines:
        counts.update(set(pair.findall(line)))
    ones = sorted(p for p, n in counts.items() if n == 1)
    return ones[len(ones) // 2] if ones else None


def suite_term(path, corpus, label="1 term, 2 chars, rare"):
    """The suite's rare pair for the corpus, so that both benchmarks search the same term."""
    if not path:
        return None
    with open(path, encoding="utf-8") as f:
        for c in json.load(f)["corpora"]:
            for q in c.get("queries", []) if c["name"] == corpus else []:
                if q["label"] == label and q["box"]:
                    return q["box"]
    return None


def latin_word(col, sample_bytes=64 << 20):
    """The most frequent two-letter Latin word in the start of content.txt,
    in capitals (searched with case ignored), or None."""
    with open(col.text, "rb") as f:
        words = collections.Counter(m.lower() for m in re.findall(rb"(?<![A-Za-z])[A-Za-z]{2}(?![A-Za-z])",
                                                                 f.read(sample_bytes)))
    return words.most_common(1)[0][0].decode("ascii").upper() if words else None


def fmt(x, digits=1):
    return "—" if x is None else "%.*f" % (digits, x)


def mb(x, floor):
    return "≤ %.0f" % floor if x <= floor + 0.5 else "%.0f" % x


def table(result):
    floor = result["rss_floor_mb"]
    lines = ["| query | rows | index | tamvex-cli ms | peak MB | sqlite3 shell ms | peak MB | shell/ours | rows check |",
             "|---|---:|---|---:|---:|---:|---:|---:|---|"]
    labels = {"cjk": "rare CJK", "latin": "Latin, case ignored", "list_all": "list all"}
    for phase, title in (("no_index", "none"), ("with_index", "kept")):
        for key, label in labels.items():
            f = (result.get(phase) or {}).get(key)
            if f is None:
                if phase == "no_index" or result["index"].get("available"):
                    lines.append("| %s | — | %s | n/a | | | | | |" % (label, title))
                continue
            lines.append("| %s «%s» | %d | %s | %s | %s | %s | %s | %.2fx | %s |" % (
                label, f["query"], f["rows"], title, fmt(f["ours"]["ms"]), mb(f["ours"]["rss_mb"], floor),
                fmt(f["shell"]["ms"]), mb(f["shell"]["rss_mb"], floor), f["ratio"], f["check"]))
    notes = []
    rg = result.get("rg")
    if rg:
        notes.append("- scan without an index, «%s»: tamvex-cli %s ms (%.2f GB/s of content), rg -F -c %s ms "
                     "(%.2f GB/s of content.txt), ours/rg %.2f" % (rg["term"], fmt(rg["ours"]["ms"]), rg["ours_gbs"],
                                                                  fmt(rg["rg"]["ms"]), rg["rg_gbs"], rg["ratio"]))
    ix = result["index"]
    if ix.get("available"):
        notes.append("- tamvex-cli index: %.1f s, peak %.0f MB (ru_maxrss), %.0f MB anonymous (RssAnon); "
                     "index %.0f MB = %.2fx the content" % (ix["seconds"], ix["peak_rss_mb"], ix["peak_anon_mb"],
                                                            ix["size_bytes"] / 1e6, ix["size_ratio"]))
    else:
        notes.append("- index: not available (`tamvex-cli index` exited %d)" % ix.get("exit_code", -1))
    notes.append("- peak MB is each child's ru_maxrss; a child that does nothing shows %.1f MB here"
                 % result["rss_floor_mb"])
    if result.get("stray_index"):
        notes.append("- a search without an index left an index file behind: %s" % result["stray_index"])
    return "\n".join(lines + [""] + notes)


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True, help="path of tamvex-cli")
    parser.add_argument("--runs", type=int, help="runs per median (5; 3 from 0.5 GB of content)")
    parser.add_argument("--cjk", help="rare CJK term (default: the suite's, else one picked from content.txt)")
    parser.add_argument("--suite-json", help="figures of tamvex_bench_suite --json: take its rare pair for this corpus")
    parser.add_argument("--latin", help="Latin term (default: the commonest two-letter word, in capitals)")
    parser.add_argument("--json", help="write the figures to this file")
    parser.add_argument("collection")
    args = parser.parse_args(argv)
    launcher = Launcher()
    col = Collection(args.collection, os.path.abspath(args.cli))
    runs = args.runs or (3 if col.content_bytes >= 5e8 else 5)
    cjk = args.cjk or suite_term(args.suite_json, col.name) or rare_cjk(col)
    latin = args.latin or latin_word(col)
    queries = {"cjk": cjk, "latin": latin, "list_all": ""}
    result = {"corpus": {"dir": col.dir, "name": col.name, "records": col.records,
                         "content_bytes": col.content_bytes},
              "runs": runs, "terms": {"cjk": cjk, "latin": latin}, "rss_floor_mb": launcher.floor_mb}

    col.drop_index()
    result["no_index"] = measure_queries(launcher, col, queries, runs)
    result["rg"] = measure_rg(launcher, col, cjk, runs)
    stray = col.index_files()
    result["stray_index"] = [os.path.basename(p) for p in stray]
    col.drop_index()
    result["index"] = build_index(launcher, col)
    result["with_index"] = measure_queries(launcher, col, queries, runs) if result["index"]["available"] else None

    print("%s: %d records, %.0f MB of content; medians of %d runs, warm page cache\n"
          % (col.name, col.records, col.content_bytes / 1e6, runs))
    launcher.close()
    print(table(result))
    if args.json:
        with open(args.json, "w", encoding="utf-8") as out:
            json.dump(result, out, ensure_ascii=False, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
