#!/usr/bin/env bash
# The window never waits: start-up beside a desktop portal that never answers against no portal
# at all (a Wayland session without a virtual keyboard, runs interleaved), and the longest time
# the window's event loop is held (ping_probe) while the portal never answers, and while the
# word model loads with a busy loop on the same core.
# Usage: bench/never_frozen.sh BUILD_DIR [runs]
set -euo pipefail
build=$(cd "$1" && pwd) runs=${2:-5}
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tests/e2e/lib.sh"
export QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=glidtavla-no-compositor LC_ALL=C.UTF-8
e2e_xvfb
work="$E2E_TMP/work"; mkdir -p "$work"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# A bus with no portal on it, and one with a portal that never answers.
e2e_private_bus
empty_bus=$DBUS_SESSION_BUS_ADDRESS
e2e_private_bus
e2e_portal_start
kill -STOP "$E2E_PORTAL"

launch() {  # bus
  (cd "$work" && HOME="$E2E_TMP/home-$RANDOM" DBUS_SESSION_BUS_ADDRESS=$1 \
    "$build/bench/launch_timer" "Glidtavla Ver" "$build/glidtavla" 2>/dev/null) | awk '{ print $1 }'
}
for _ in $(seq "$runs"); do
  launch "$DBUS_SESSION_BUS_ADDRESS" >>"$E2E_TMP/silent.txt"
  launch "$empty_bus" >>"$E2E_TMP/none.txt"
done
silent=$(median <"$E2E_TMP/silent.txt") none=$(median <"$E2E_TMP/none.txt")
echo "start-up, median of $runs: portal never answers $silent ms, no portal $none ms," \
  "ratio $(awk -v a="$silent" -v b="$none" 'BEGIN { printf "%.2f", a / b }')"

# Glides while the probe pings the window.
probe() {  # seconds
  taskset -c 1 "$build/bench/ping_probe" "$WIN" "$1" >"$E2E_TMP/probe.txt" &
  prober=$!
}
glides() {  # count
  for _ in $(seq "$1"); do write_cell 2 2; write_cell 3 1; done
}
stop_program() { pkill -f "^$build/glidtavla" || true; sleep 0.5; }

# The portal never answers: turning typing on at start, then writing.
e2e_start "$build/glidtavla" "$work" --send-keys
probe 10
click_at 717 516
glides 6
wait "$prober"
echo "window held while the portal never answers (typing turned on): $(cat "$E2E_TMP/probe.txt")"
stop_program

# The portal answers the session, then never a key.
e2e_portal_stop
e2e_portal_start
e2e_start "$build/glidtavla" "$work" --send-keys
click_at 717 516
for _ in $(seq 100); do grep -q '^Start' "$E2E_TMP/asked.log" && break; sleep 0.05; done
grep -q '^Start' "$E2E_TMP/asked.log" || fail "typing did not start: $(cat "$E2E_TMP/app.log")"
kill -STOP "$E2E_PORTAL"
probe 10
glides 6
wait "$prober"
echo "window held while the portal never answers a key: $(cat "$E2E_TMP/probe.txt")"
stop_program
e2e_portal_stop

# The model loads while a busy loop shares the window's core.
unset WAYLAND_DISPLAY
taskset -c 0 sh -c 'while :; do :; done' &
busy=$!
E2E_PIDS+=($busy)
rm -rf "$E2E_TMP/home"
e2e_start taskset "$work" -c 0 "$build/glidtavla"
program=$(pgrep -f "^$build/glidtavla")
probe 15
click_at 717 516
# Glides until the reading thread (the only one of idle class) has ended, and a few more.
for _ in $(seq 60); do
  ps -L -o policy= -p "$program" | grep -q IDL || break
  glides 1
done
ps -L -o policy= -p "$program" | grep -q IDL && fail "the model was not read within 60 glides"
glides 2
wait "$prober"
echo "window held while the model loads beside a busy loop: $(cat "$E2E_TMP/probe.txt")"
