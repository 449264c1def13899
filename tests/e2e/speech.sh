#!/usr/bin/env bash
# Speech end to end: a speech-dispatcher of the test's own (private configuration and socket)
# with its espeak-ng module, playing into a PulseAudio null sink of its own. "hej då" and LF
# written by gliding are said as a word and a line, in order, and sound reaches the sink. Then
# with the service gone: the program starts without a message and writes as before.
# Usage: speech.sh GLIDTAVLA
source "$(dirname "$0")/lib.sh"
program=$1
for tool in speech-dispatcher pulseaudio parec; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done
[ -x /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] ||
  skip "speech-dispatcher-espeak-ng is not installed (scripts/install-deps.sh installs it)"

# Under AddressSanitizer: libspeechd reads the service's voice list with strstr, each call of
# which the sanitizer checks over the whole list, so reading it takes minutes. That is the
# system library's; don't check it.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:intercept_strstr=0"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime" HOME="$E2E_TMP/home"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$HOME" "$E2E_TMP/speechd/modules" "$E2E_TMP/speechd-log"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm \
  --load="module-null-sink sink_name=glidtavla_null" --load=module-native-protocol-unix \
  >"$E2E_TMP/pulse.log" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl set-default-sink glidtavla_null || fail "pulseaudio did not start: $(tail -n 3 "$E2E_TMP/pulse.log")"
cp /etc/speech-dispatcher/modules/espeak-ng.conf "$E2E_TMP/speechd/modules/"
cat >"$E2E_TMP/speechd/speechd.conf" <<'CONF'
AudioOutputMethod "pulse"
DefaultLanguage "sv"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
CONF
socket="$E2E_TMP/runtime/speechd.sock"
speech-dispatcher -s -t 0 -l 5 -L "$E2E_TMP/speechd-log" -C "$E2E_TMP/speechd" \
  -c unix_socket -S "$socket" -P "$E2E_TMP/runtime/speechd.pid" >"$E2E_TMP/speechd.out" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.05; done
[ -S "$socket" ] || fail "speech-dispatcher did not start: $(tail -n 3 "$E2E_TMP/speechd.out")"
parec -d glidtavla_null.monitor --raw --format=s16le --channels=1 >"$E2E_TMP/sound.raw" &
E2E_PIDS+=($!)

e2e_xvfb
e2e_window_manager
work="$E2E_TMP/work"
mkdir -p "$work"
# Words and lines chosen, as a person would under Visa > Tal.
mkdir -p "$E2E_TMP/home/.config/Glidtavla"
printf '[speech]\nwords=true\nlines=true\n' >"$E2E_TMP/home/.config/Glidtavla/glidtavla.conf"
write_hej_da() {
  click_at 717 516   # START
  sleep 0.5
  # h (5, 1), e (2, 4), j (5, 3), SP (4, 4), d (2, 5), å (1, 7), LF (6, 6)
  for cell in "5 1" "2 4" "5 3" "4 4" "2 5" "1 7" "6 6"; do write_cell $cell; done
}
SPEECHD_ADDRESS="unix_socket:$socket" e2e_start "$program" "$work"
write_hej_da
said() { sed -n 's/.*Queueing message |\(.*\)| with priority.*/\1/p' "$E2E_TMP/speechd-log/speech-dispatcher.log"; }
for _ in $(seq 100); do [ "$(said | wc -l)" -ge 2 ] && break; sleep 0.1; done
sleep 1   # the line's sound
printf 'hej\nhej då\n' >"$E2E_TMP/expected"
diff "$E2E_TMP/expected" <(said) >&2 || fail "speech-dispatcher was asked otherwise"
loud=$(od -An -v -td2 -w2 "$E2E_TMP/sound.raw" | awk '$1 > 1000 || $1 < -1000 { n++ } END { print n + 0 }')
[ "$loud" -gt 1000 ] || fail "no sound reached the sink ($loud loud samples)"
echo "e2e speech: said $(said | tr '\n' '|'), $loud loud samples in the sink"
kill "$E2E_APP"; wait "$E2E_APP" 2>/dev/null || true
sleep 0.5

# The service gone: no message at the start, and writing goes on unspoken.
SPEECHD_ADDRESS="unix_socket:$E2E_TMP/runtime/gone.sock" e2e_start "$program" "$work"
sleep 1
[ "$(xdotool search --onlyvisible --name '.' 2>/dev/null | wc -l)" -eq "$(xdotool search --onlyvisible --name 'Glidtavla Ver' | wc -l)" ] ||
  fail "a window besides the program's own stands at the start: $(xdotool search --onlyvisible --name '.' getwindowname %@ | tr '\n' '|')"
write_hej_da
sleep 0.5
[ "$(said | wc -l)" -eq 2 ] || fail "something was said without the service"
echo "e2e speech: without the service the program starts silent and without a message"
