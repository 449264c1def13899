#!/usr/bin/env bash
# Start-up time (launch to window mapped) and peak memory of Glidtavla beside a bare Qt window.
# The three are started in turn, run after run, so that a busy moment of the machine weighs on
# each alike. Usage: bench/startup.sh BUILD_DIR [runs]
set -euo pipefail
build=$(cd "$1" && pwd) runs=${2:-9}
tmp=$(mktemp -d)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$tmp/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$tmp/display")"

# Each run starts with no settings; the peak is taken a second after the window shows.
run() {  # name title program [args...]
  local name=$1 title=$2
  shift 2
  (cd "$tmp" && HOME="$tmp/home-$RANDOM" "$build/bench/launch_timer" "$title" "$@" \
    2>/dev/null) >>"$tmp/$name.txt"
}
for _ in $(seq "$runs"); do
  run glidtavla "Glidtavla Ver 1.01" "$build/glidtavla"
  run zoom "Glidtavla Ver 1.01" "$build/glidtavla" --zoom 300
  run bare "Glidtavla Ver bare" "$build/bench/bare_window"
done

median() {  # file column
  sort -n -k"$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'
}
for name in glidtavla zoom bare; do
  printf '%-10s start-up median %s ms, peak memory median %s KiB\n' "$name" \
    "$(median "$tmp/$name.txt" 1)" "$(median "$tmp/$name.txt" 2)"
done
bare_ms=$(median "$tmp/bare.txt" 1) bare_kib=$(median "$tmp/bare.txt" 2)
awk -v t="$(median "$tmp/glidtavla.txt" 1)" -v m="$(median "$tmp/glidtavla.txt" 2)" \
  -v bt="$bare_ms" -v bm="$bare_kib" \
  'BEGIN { printf "glidtavla / bare: start-up %.2f, peak memory %.2f\n", t / bt, m / bm }'
