#!/usr/bin/env bash
# The character error rate (edit distance / length) of a trembling pointer writing the Swedish
# test text, by the noise's sigma and the tremor guard: glidtavla-cli type --jitter, then
# replay --guard. Usage: bench/tremor.sh BUILD_DIR [seeds]
set -euo pipefail
build=$(cd "$1" && pwd) seeds=${2:-5}
here=$(cd "$(dirname "$0")/.." && pwd)
cli="$build/glidtavla-cli"
tmp=$(mktemp -d /tmp/glidtavla-tremor-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
# The text as the built-in board writes it: its first paragraph, in Windows-1252.
head -n 4 "$here/tests/data/svensk_text.txt" | iconv -f UTF-8 -t WINDOWS-1252 >"$tmp/meant.txt"
meant=$(iconv -f WINDOWS-1252 -t UTF-8 <"$tmp/meant.txt")

rate() {  # edit distance of the written text (UTF-8) from the meant, over the meant's length
  /usr/bin/python3 - "$1" "$tmp/meant.txt" <<'PY'
import sys
a = open(sys.argv[1], encoding="utf-8").read().replace("\r\n", "\n").replace("\r", "\n").strip("\n")
b = open(sys.argv[2], encoding="cp1252").read().strip("\n")
prev = list(range(len(b) + 1))
for i, x in enumerate(a, 1):
    cur = [i] + [0] * len(b)
    for j, y in enumerate(b, 1):
        cur[j] = min(prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + (x != y))
    prev = cur
print(prev[len(b)] / len(b))
PY
}

printf '%-8s %-10s %-10s %-10s %-10s\n' sigma "guard off" "4 px" "8 px" "12 px"
for sigma in 2 4 8; do
  for seed in $(seq "$seeds"); do
    "$cli" type --jitter "$sigma" --seed "$seed" "$meant" >"$tmp/$sigma-$seed.dem"
  done
  row=$(printf '%-8s' "$sigma")
  for guard in 0 4 8 12; do
    first="" sum=0
    for seed in $(seq "$seeds"); do
      "$cli" replay --guard "$guard" "$tmp/$sigma-$seed.dem" >"$tmp/doc" 2>"$tmp/line"
      sed -n 's/^character line: //p' "$tmp/line" >>"$tmp/doc"
      r=$(rate "$tmp/doc")
      [ -z "$first" ] && first=$r
      sum=$(echo "$sum + $r" | bc -l)
    done
    row+=$(printf ' %-10s' "$(printf '%.3f/%.3f' "$first" "$(echo "$sum / $seeds" | bc -l)")")
  done
  echo "$row"
done
echo "(each cell: seed 1 / mean of $seeds seeds)"
