#!/usr/bin/env bash
# glidtavla-cli replay and stats over a demo of a million samples, beside wc -l on the same file.
# Usage: bench/replay.sh BUILD_DIR [runs]
set -euo pipefail
export LC_ALL=C  # a decimal point in the shell's clock
build=$(cd "$1" && pwd) runs=${2:-21}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
demo="$tmp/million.dem"

# Gestures as a hand makes them: out from the centre to a cell in steps, and back.
awk 'BEGIN {
  srand(42); n = 0
  while (n < 1000000) {
    tx = 50 * int(1 + rand() * 7) - 25; ty = 40 * int(1 + rand() * 7) - 20
    for (s = 1; s <= 8 && n < 1000000; s++) { printf "%d %d 0 0\r\n", 125 + (tx - 125) * s / 8, 100 + (ty - 100) * s / 8; n++ }
    for (s = 7; s >= 0 && n < 1000000; s--) { printf "%d %d 1 0\r\n", 125 + (tx - 125) * s / 8, 100 + (ty - 100) * s / 8; n++ }
  }
}' >"$demo"

# The three commands take turns, so a slow moment of the machine falls on all of them alike;
# each figure is the median of its runs.
# The shell's own clock: reading it starts no process, so only the command is timed.
elapsed_us() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  local end=$EPOCHREALTIME
  echo $(( ${end//[.,]/} - ${start//[.,]/} ))
}
median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
: >"$tmp/wc" >"$tmp/replay" >"$tmp/stats"
for _ in $(seq "$runs"); do
  elapsed_us wc -l "$demo" >>"$tmp/wc"
  elapsed_us "$build/glidtavla-cli" replay "$demo" >>"$tmp/replay"
  elapsed_us "$build/glidtavla-cli" stats "$demo" >>"$tmp/stats"
done
wc_us=$(median <"$tmp/wc") replay_us=$(median <"$tmp/replay") stats_us=$(median <"$tmp/stats")
echo "file: $(wc -l <"$demo") samples, $(( $(stat -c %s "$demo") / 1024 )) KiB"
awk -v r="$replay_us" -v s="$stats_us" -v w="$wc_us" 'BEGIN {
  printf "wc -l:  %.1f ms\n", w / 1000
  printf "replay: %.1f ms, %.2f million samples per second, %.1f times wc -l\n", r / 1000, 1e6 / r, r / w
  printf "stats:  %.1f ms, %.2f million samples per second, %.1f times wc -l\n", s / 1000, 1e6 / s, s / w
}'
