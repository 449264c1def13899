#!/usr/bin/env bash
# Fails when clang-format would change any of our C++ files.
set -euo pipefail
clang_format=${1:-clang-format}
files=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h' 2>/dev/null || find src tests bench -name '*.cpp' -o -name '*.h')
[ -n "$files" ] || { echo "no files to check"; exit 1; }
# shellcheck disable=SC2086
"$clang_format" --dry-run --Werror $files
echo "format ok: $(echo "$files" | wc -l) files"
