#!/usr/bin/env bash
# Start-up time (launch to window mapped) and peak memory of Glidtavla beside a bare Qt window.
# Usage: bench/startup.sh BUILD_DIR [runs]
set -euo pipefail
build=$(cd "$1" && pwd) runs=${2:-7}
tmp=$(mktemp -d)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$tmp/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$tmp/display")"

measure() {  # program title [args...] -> "startup_ms peak_kb" per run
  local program=$1 title=$2
  shift 2
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    # The time limit is a safety net: every run is ended by the pkill below.
    (cd "$tmp" && HOME="$tmp" timeout 20 /usr/bin/time -v -o "$tmp/time.txt" "$program" "$@" \
      >/dev/null 2>&1) &
    local runner=$!
    local tries=0
    until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
      sleep 0.005
      tries=$((tries + 1))
      [ "$tries" -lt 4000 ] || { echo "$program showed no window" >&2; exit 1; }
    done
    end=$(date +%s%N)
    sleep 1  # the peak includes the word model, loaded a moment after the window shows
    pkill -f "^$program( |\$)" || true
    wait "$runner" 2>/dev/null || true
    echo "$(( (end - start) / 1000000 )) $(awk '/Maximum resident/ { print $NF }' "$tmp/time.txt")"
  done >"$tmp/runs.txt"
  local mid=$(( (runs + 1) / 2 ))
  printf '%-24s start-up median %s ms, peak memory median %s KiB\n' "$(basename "$program") $*" \
    "$(cut -d' ' -f1 "$tmp/runs.txt" | sort -n | sed -n "${mid}p")" \
    "$(cut -d' ' -f2 "$tmp/runs.txt" | sort -n | sed -n "${mid}p")"
}

measure "$build/glidtavla" "Glidtavla Ver 1.01"
measure "$build/glidtavla" "Glidtavla Ver 1.01" --zoom 300
measure "$build/bench/bare_window" "Glidtavla Ver bare"
