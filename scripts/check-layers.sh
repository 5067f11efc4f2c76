#!/usr/bin/env bash
# Prints the include graph between the folders of src/ and fails when an include points to a
# folder that is not below the including one in the layering (which also rules out cycles).
# Layers, lowest first; folders on one line form one layer and do not include each other.
set -euo pipefail
cd "$(dirname "$0")/../src"
layers=(
    "base"
    "platform widgets"
    "playback"
    "marks"
    "persist document windows"
    "automation"
    "forms"
    "app"
)
declare -A rank
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

status=0
declare -A edges
for file in */*.h */*.cpp; do
    from=${file%%/*}
    while read -r to; do
        [ "$to" = "$from" ] && continue
        edges["$from -> $to"]=$(( ${edges["$from -> $to"]:-0} + 1 ))
        if [ -z "${rank[$from]:-}" ] || [ -z "${rank[$to]:-}" ] || [ "${rank[$to]}" -ge "${rank[$from]}" ]; then
            echo "src/$file includes $to/, which is not below $from/ in the layering"
            status=1
        fi
    done < <(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' "$file")
done
echo "Include graph (folder -> folder: includes):"
for edge in "${!edges[@]}"; do echo "  $edge: ${edges[$edge]}"; done | sort
exit $status
