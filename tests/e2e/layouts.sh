#!/usr/bin/env bash
# Every character of the built-in board, plain and shifted, typed into another program under
# keyboard layouts that lack some of them (US, German) and with the layout switched mid-text:
# each arrives as itself, into a Qt receiver of our own and into xterm.
# Usage: layouts.sh TYPE_PROBE RECEIVER
source "$(dirname "$0")/lib.sh"
probe=$1 receiver=$2
export LC_ALL=C.UTF-8

e2e_xvfb
passed=0

# Types the board in as many parts as layouts are given, switching to each before its part.
type_board() {
  local expected=$1; shift
  local parts=$#
  : >"$expected"
  coproc PROBE { "$probe" 2>"$E2E_TMP/probe.err"; }
  for i in $(seq "$parts"); do
    setxkbmap "${!i}"
    echo "$i/$parts" >&"${PROBE[1]}"
    local line
    while IFS= read -r line <&"${PROBE[0]}"; do
      [ "$line" = ok ] && break
      printf '%s\n' "$line" >>"$expected"
    done
  done
  exec {PROBE[1]}>&-
  wait "$PROBE_PID" || fail "the probe failed: $(cat "$E2E_TMP/probe.err")"
}

# Waits until file holds exactly what expected holds.
expect_same() {
  local file=$1 expected=$2 what=$3
  for _ in $(seq 100); do cmp -s "$file" "$expected" && break; sleep 0.05; done
  cmp -s "$file" "$expected" || fail "$what received: $(cat "$file") expected: $(cat "$expected")"
  passed=$((passed + 1))
}

for layouts in "us" "de" "us de" "de se us"; do
  setxkbmap us
  "$receiver" "$E2E_TMP/qt.txt" "$E2E_TMP/qt.log" >"$E2E_TMP/receiver.log" 2>&1 &
  rpid=$!
  RWIN=$(wait_for_window '^Mottagare$')
  [ -n "$RWIN" ] || fail "the receiver did not start"
  xdotool windowfocus --sync "$RWIN"
  # shellcheck disable=SC2086
  type_board "$E2E_TMP/expected" $layouts
  expect_same "$E2E_TMP/qt.txt" "$E2E_TMP/expected" "under $layouts the Qt receiver"
  kill "$rpid"; wait "$rpid" 2>/dev/null || true
done

for layouts in "us" "de us"; do
  setxkbmap us
  rm -f "$E2E_TMP/xterm.txt"
  xterm -T Terminalen -e sh -c "stty -echo; cat >'$E2E_TMP/xterm.txt'" &
  xpid=$!
  XWIN=$(wait_for_window '^Terminalen$')
  [ -n "$XWIN" ] || fail "xterm did not start"
  xdotool windowfocus --sync "$XWIN"; sleep 0.3
  # shellcheck disable=SC2086
  type_board "$E2E_TMP/expected" $layouts
  expect_same "$E2E_TMP/xterm.txt" "$E2E_TMP/expected" "under $layouts xterm"
  kill "$xpid"; wait "$xpid" 2>/dev/null || true
done
echo "e2e layouts: $passed passed, 0 failed"
