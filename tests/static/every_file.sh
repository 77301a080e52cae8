#!/usr/bin/env bash
# Runs a static checker and fails where it checked fewer of the program's
# files than the tree has: a checker that matched no file would pass having
# checked nothing. A file counts as checked when the checker's output names
# it by its full path.
# Usage: every_file.sh SOURCE_DIR all|built CHECKER [ARGUMENT...]
#   all:   every .cpp file under core/, port/ and ui/;
#   built: those this system builds, all but another system's folder
#          (windows/ here).
set -uo pipefail
src=$1 which=$2
shift 2

exclude=()
[ "$which" = built ] && exclude=(-not -path '*/windows/*' -not -path '*/win32/*')
mapfile -t files < <(cd "$src" && find core port ui -name '*.cpp' "${exclude[@]}" | sort)

output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$@" 2>&1 | tee "$output"
status=${PIPESTATUS[0]}

missing=()
for file in "${files[@]}"; do
    grep -qF -- "$src/$file" "$output" || missing+=("$file")
done
checked=$((${#files[@]} - ${#missing[@]}))
echo "$(basename "$1"): checked $checked of the tree's ${#files[@]} files"
if [ "${#files[@]}" -eq 0 ] || [ "${#missing[@]}" -gt 0 ]; then
    echo "FALLO: not checked: ${missing[*]:-(the tree has no file to check)}" >&2
    exit 1
fi
exit "$status"
