#!/usr/bin/env bash
# Fails when a file includes a header of a layer above its own, or when the core (board,
# engine, demo, predict, model) includes Qt. Usage: check_layers.sh SRC_DIR
set -euo pipefail
src=$1

# The layers each folder may include from, its own among them.
declare -A allowed=(
  [board]="board"
  [engine]="board engine"
  [demo]="board engine demo"
  [predict]="board predict"
  [model]="board engine demo predict model"
  [text]="board text"
  [pictures]="board pictures"
  [app]="board engine demo predict model text pictures app"
  [cli]="board engine demo predict model text pictures cli"
)

faults=0
for layer in "${!allowed[@]}"; do
  [ -d "$src/$layer" ] || continue
  while IFS=: read -r file line include; do
    target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$include")
    if ! grep -qw "$target" <<<"${allowed[$layer]}"; then
      echo "$file:$line: $layer includes from $target, a layer above or beside it" >&2
      faults=$((faults + 1))
    fi
  done < <(grep -rnE '^#include "[a-z_]+/' "$src/$layer" --include='*.h' --include='*.cpp' || true)
done
for layer in board engine demo predict model; do
  if grep -rnE '^#include <(Q|qt)' "$src/$layer" --include='*.h' --include='*.cpp' >&2; then
    echo "the core ($layer) includes Qt" >&2
    faults=$((faults + 1))
  fi
done
[ "$faults" -eq 0 ] || { echo "layers: $faults faults" >&2; exit 1; }
echo "layers: 0 faults"
