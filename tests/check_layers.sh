#!/usr/bin/env bash
# Fails when a file includes a header of a layer above or beside its own, when the core (base,
# board, engine, demo, predict, model) includes Qt, or when a folder has no row here. Inside
# src/app/ each feature folder includes only form/ (the form kit) and the layers below; the
# window's own files at the top of app/ include anything of app/. Every include is read, however
# it is written: indented, inside #if, or by a path with "../". Usage: check_layers.sh SRC_DIR
set -euo pipefail
src=$(cd "$1" && pwd)

below_app="base board engine demo predict model text pictures typing"
declare -A allowed=(
  [base]="base"
  [board]="base board"
  [engine]="base board engine"
  [demo]="base board engine demo"
  [predict]="base predict"
  [model]="base board engine demo predict model"
  [text]="base text"
  [pictures]="base board pictures"
  [typing]="base board typing"
  [app/contrast]="$below_app app/form app/contrast"
  [app/form]="$below_app app/form"
  [app/pace]="$below_app app/form app/pace"
  [app/pointer]="$below_app app/form app/pointer"
  [app/predict]="$below_app app/form app/predict"
  [app/settings]="$below_app app/form app/settings"
  [app/typing]="$below_app app/form app/typing"
  [app/speech]="$below_app app/form app/speech"
  [app/zoom]="$below_app app/form app/zoom"
  [app]="$below_app app app/contrast app/form app/pace app/pointer app/predict app/settings app/speech app/typing app/zoom"
  [cli]="base board engine demo predict model text pictures cli"
)
core="base board engine demo predict model"

# Whether a word is one of a list's, whole.
among() { [[ " $2 " == *" $1 "* ]]; }

faults=0
fault() {
  echo "$1" >&2
  faults=$((faults + 1))
}

# The layer a file or header path (relative to src) belongs to.
layer_of() {
  case $1 in
    app/*/*) local rest=${1#app/}; echo "app/${rest%%/*}" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

# Every folder has a row.
for dir in "$src"/*/ "$src"/app/*/; do
  [ -d "$dir" ] || continue
  name=${dir#"$src"/}
  name=${name%/}
  [ -n "${allowed[$name]+set}" ] || fault "$name: a folder with no row in check_layers.sh"
done

while IFS= read -r file; do
  rel=${file#"$src"/}
  own=$(layer_of "$rel")
  [ -n "${allowed[$own]+set}" ] || continue  # said above
  is_core=0
  among "$own" "$core" && is_core=1
  while IFS=: read -r line text; do
    header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*)[>"].*/\1/' <<<"$text")
    if [[ $text =~ \<Q|\<qt ]] && [ "$is_core" -eq 1 ]; then
      fault "$rel:$line: the core ($own) includes Qt: $header"
    fi
    [[ $text =~ \" ]] || continue
    # A path with ../ is read as the file system reads it, from the file's folder.
    if [[ $header == *../* ]]; then
      resolved=$(realpath -m "$(dirname "$file")/$header")
      if [[ $resolved != "$src"/* ]]; then
        fault "$rel:$line: includes $header, outside src/"
        continue
      fi
      header=${resolved#"$src"/}
    fi
    [[ $header == */* ]] || continue  # beside the file, or generated in its build folder
    target=$(layer_of "$header")
    among "$target" "${allowed[$own]}" ||
      fault "$rel:$line: $own includes $header, from $target: a layer above or beside it"
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \))

[ "$faults" -eq 0 ] || { echo "layers: $faults faults" >&2; exit 1; }
echo "layers: 0 faults"
