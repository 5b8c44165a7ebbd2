#!/usr/bin/env bash
# Second README command: install, build and run the whole test suite; then
# the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (tools/sanitize.sh), then the fuzzers for a bounded time each
# (tools/fuzz.sh, TAMVEX_FUZZ_SECONDS per target, default 60). Every stage
# runs; the script fails when any of them failed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
status=0
ctest --test-dir "$root/build" --output-on-failure -j2 --timeout 900 || status=1
bash "$root/tools/sanitize.sh" || status=1
bash "$root/tools/fuzz.sh" "${TAMVEX_FUZZ_SECONDS:-60}" || status=1
if [ $status -ne 0 ]; then
  echo "test.sh: a stage failed (see above)" >&2
fi
exit $status
