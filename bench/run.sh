#!/bin/bash
# Builds the benchmarks, writes the corpora (never committed) and runs the
# search suite: one markdown table on standard output.
#   bash bench/run.sh [--scale GB] [BUILD_DIR] [CORPUS_DIR]
# --scale 0.05 makes a quick run; the default is a 1 GB big corpus.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
scale=1
if [ "${1:-}" = "--scale" ]; then scale="$2"; shift 2; fi
build="${1:-$here/../build-bench}"
corpora="${2:-$build/corpora}"

if (cd "$here" && npm ci --no-audit --no-fund >/dev/null 2>&1 || npm install --no-audit --no-fund >/dev/null 2>&1); then
  echo "chinese-poetry installed in bench/node_modules"
else
  echo "chinese-poetry could not be installed: the synthetic Zipf corpus stands in for the real text"
fi

cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target tamvex_bench_suite tamvex_bench_mark like_bench >/dev/null
/usr/bin/python3 "$here/suite/make_corpus.py" --scale "$scale" "$corpora"

echo
echo "Machine: $(nproc) cores"
lscpu | head -n 15
echo
dirs=()
for name in poetry zipf poetry-big zipf-big; do
  [ -f "$corpora/$name/jst.mdb" ] && dirs+=("$corpora/$name")
done
"$build/bench/suite/tamvex_bench_suite" "${dirs[@]}"
