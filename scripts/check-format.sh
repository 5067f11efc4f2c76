#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes of it with the
# repository's .clang-format. `scripts/check-format.sh --fix` reformats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(--dry-run --Werror)
[ "${1:-}" = "--fix" ] && mode=(-i)
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
else
    mapfile -t files < <(find src tests bench -name '*.cpp' -o -name '*.h')
fi
clang-format --style=file "${mode[@]}" "${files[@]}"
echo "${#files[@]} files match .clang-format"
