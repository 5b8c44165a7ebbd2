#!/bin/bash
# Builds the benchmarks, writes the corpora (never committed), runs the
# library suite and the whole-process benchmark, then prints the goal table.
#   bash bench/run.sh [--scale GB] [BUILD_DIR] [CORPUS_DIR]
# --scale 0.05 makes a quick run; the default is a 1 GB big corpus. The
# figures of the run are kept as JSON in BUILD_DIR/bench-results.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
scale=1
if [ "${1:-}" = "--scale" ]; then scale="$2"; shift 2; fi
build="${1:-$here/../build-bench}"
corpora="${2:-$build/corpora}"
results="$build/bench-results"

# Tools the benchmarks compare against, installed here only (not a build need).
missing=()
command -v sqlite3 >/dev/null || missing+=(sqlite3)
command -v rg >/dev/null || missing+=(ripgrep)
if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" = 0 ]; then
    apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "missing ${missing[*]}: install them (apt-get install ${missing[*]})" >&2
    exit 1
  fi
fi

if (cd "$here" && npm ci --no-audit --no-fund >/dev/null 2>&1 || npm install --no-audit --no-fund >/dev/null 2>&1); then
  echo "chinese-poetry installed in bench/node_modules"
else
  echo "chinese-poetry could not be installed: the synthetic Zipf corpus stands in for the real text"
fi

# Two cores at most: the machine is shared.
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$jobs" --target tamvex_bench_suite tamvex_bench_mark like_bench tamvex_bench_variants tamvex-cli >/dev/null
/usr/bin/python3 "$here/suite/make_corpus.py" --scale "$scale" "$corpora"

echo
echo "Machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GB RAM", $2 / 1048576}' /proc/meminfo)"
lscpu | awk 'NR <= 15'  # awk reads all of it: no broken pipe
echo "$(sqlite3 --version | cut -d' ' -f1-2 | sed 's/^/SQLite /'), $(rg --version | head -n 1)"
echo
dirs=()
for name in poetry zipf poetry-big zipf-big; do
  [ -f "$corpora/$name/jst.mdb" ] && dirs+=("$corpora/$name")
done
mkdir -p "$results"
"$build/bench/suite/tamvex_bench_suite" --json "$results/suite.json" "${dirs[@]}"

echo
echo "## Variant searches against the exact ones"
echo
"$build/bench/variants/tamvex_bench_variants" "$build/tamvex" "${dirs[@]}"

# Whole processes on the big corpus (the last one written).
big="${dirs[${#dirs[@]}-1]}"
echo
echo "## Whole processes: tamvex-cli search against the sqlite3 shell"
echo
/usr/bin/python3 "$here/process/bench_processes.py" --cli "$build/tamvex/tamvex-cli" \
  --suite-json "$results/suite.json" --json "$results/process.json" "$big"

echo
echo "## Goals"
echo
/usr/bin/python3 "$here/summary/goal_table.py" --suite "$results/suite.json" --process "$results/process.json"
