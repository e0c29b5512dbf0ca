#!/usr/bin/env bash
# format.sh ROOT fix|check: runs clang-format 14 over our sources.
set -euo pipefail
ROOT="$1"
MODE="$2"
CF=$(command -v clang-format-14 || command -v clang-format)
cd "$ROOT"
mapfile -t files < <(git ls-files '*.h' '*.cpp' 2>/dev/null | grep -v '^companion/tables/' || true)
((${#files[@]})) || exit 0
if [[ "$MODE" == fix ]]; then
    "$CF" -i "${files[@]}"
else
    "$CF" --dry-run --Werror "${files[@]}"
fi
