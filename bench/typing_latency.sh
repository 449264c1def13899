#!/usr/bin/env bash
# "Skriv i andra program": the time from the fetching pointer sample (the xdotool move that
# turns back to the centre) to the typed key's arrival in a receiving program, over N
# characters; and Glidtavla's peak memory with the mode on beside the mode off.
# Usage: bench/typing_latency.sh BUILD_DIR [characters]
set -euo pipefail
build=$(cd "$1" && pwd) count=${2:-200}
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tests/e2e/lib.sh"
e2e_xvfb
work="$E2E_TMP/work"; mkdir -p "$work"

peak_kb() { awk '/VmHWM/ { print $2 }' "/proc/$1/status"; }

# Mode off: the same writing, for the memory figure.
e2e_start "$build/glidtavla" "$work"
off_pid=$(pgrep -n -f "^$build/glidtavla\$")
click_at 717 516
for _ in $(seq 20); do write_cell 2 2; done
off_kb=$(peak_kb "$off_pid")
kill "$off_pid"; sleep 0.3

"$build/tests/e2e_receiver" "$work/received.txt" "$work/arrivals.log" >/dev/null 2>&1 &
E2E_PIDS+=($!)
sleep 1
RWIN=$(xdotool search --onlyvisible --name '^Mottagare$' | head -n1)
xdotool windowfocus --sync "$RWIN"
e2e_start "$build/glidtavla" "$work" --send-keys
on_pid=$(pgrep -n -f "glidtavla --send-keys")
click_at 717 516
: >"$work/sent.log"
for i in $(seq "$count"); do
  at 125 100; at 75 60; at 78 62
  date +%s%N >>"$work/sent.log"
  xdotool mousemove "$((WX + 125))" "$((WY + MENU + 100))"
  sleep 0.06
done
sleep 1
on_kb=$(peak_kb "$on_pid")
arrived=$(wc -l <"$work/arrivals.log")
[ "$arrived" -eq "$count" ] || echo "warning: $arrived of $count characters arrived" >&2
paste -d' ' "$work/sent.log" <(cut -d' ' -f1 "$work/arrivals.log") |
  awk '{ printf "%.3f\n", ($2 - $1) / 1e6 }' | sort -n >"$work/latency.txt"
n=$(wc -l <"$work/latency.txt")
median=$(sed -n "$(( (n + 1) / 2 ))p" "$work/latency.txt")
p99=$(sed -n "$(( (n * 99 + 99) / 100 ))p" "$work/latency.txt")
echo "typing latency over $n characters: median $median ms, 99th percentile $p99 ms"
echo "(includes starting xdotool for the fetching move, a few ms)"
echo "peak memory: mode off $off_kb KiB, mode on $on_kb KiB"
