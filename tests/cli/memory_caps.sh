#!/usr/bin/env bash
# glidtavla-cli on large inputs under an address-space limit: each ends in bounded memory with
# its answer, never an abort. Prints each run's peak memory.
# Usage: memory_caps.sh GLIDTAVLA_CLI
set -euo pipefail
cli=$1
if [ -n "${ASAN_OPTIONS:-}" ]; then
  # AddressSanitizer reserves terabytes of address space: no limit can be set under it.
  echo "memory caps: 0 passed, 0 failed, 1 skipped (sanitizer build)"
  exit 0
fi
tmp=$(mktemp -d /tmp/glidtavla-memory-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
limit_kb=1000000
passed=0

# run NAME EXPECTED_STATUS ARGS...: under the limit, with the peak memory noted.
run() {
  local name=$1 expected=$2; shift 2
  local status=0
  ( ulimit -v "$limit_kb"; exec /usr/bin/time -f "%M" -o "$tmp/$name.kb" "$cli" "$@" ) \
    >"$tmp/$name.out" 2>"$tmp/$name.err" || status=$?
  [ "$status" = "$expected" ] ||
    fail "$name: exit $status, expected $expected: $(head -c 300 "$tmp/$name.err")"
  echo "$name: peak $(tail -n1 "$tmp/$name.kb") KiB"
  passed=$((passed + 1))
}

# A 10 MB demo, replayed with a trace of every tick.
awk 'BEGIN { for (i = 0; i < 800000; i++) printf "%d %d %d 0\r\n", 25 + i % 300, 20 + i % 260, i % 2 }' \
  >"$tmp/ten.dem"
run trace 0 replay --json --trace "$tmp/ten.dem"
tail -c 200 "$tmp/trace.out" | grep -q '"samples":800000' || fail "trace: no summary"

# 40 MB of malformed lines: the errors are counted, not all kept.
{ yes "x 1 2 3" || true; } | head -c 40000000 >"$tmp/bad.dem"
run malformed 1 replay "$tmp/bad.dem"
grep -q 'more errors' "$tmp/malformed.err" || fail "malformed: $(tail -n 2 "$tmp/malformed.err")"

# A 200 MB table: refused unread.
{ yes "10 20 30" || true; } | head -c 200000000 >"$tmp/big.tab"
run check 1 board check "$tmp/big.tab"
grep -q 'Table file is too large' "$tmp/check.err" || fail "check: $(tail -n 2 "$tmp/check.err")"

# An enhanced metafile of 300 000 rectangles: its drawing is refused, not rendered.
python3 - "$tmp/many.emf" <<'PY'
import struct, sys
n = 300000
rect = struct.pack('<II4i', 43, 24, 10, 10, 90, 40)
eof = struct.pack('<5I', 14, 20, 0, 16, 20)
size = 88 + n * len(rect) + len(eof)
header = struct.pack('<II4i4iIIIIHHIII2i2i', 1, 88, 0, 0, 99, 49, 0, 0, 2646, 1323,
                     0x464D4520, 0x10000, size, n + 2, 1, 0, 0, 0, 0, 1024, 768, 320, 240)
open(sys.argv[1], 'wb').write(header + rect * n + eof)
PY
run metafile 1 board picture "$tmp/many.emf"
grep -q 'Metafile is not valid' "$tmp/metafile.out" || fail "metafile: $(cat "$tmp/metafile.out")"

echo "memory caps: $passed passed, 0 failed"
