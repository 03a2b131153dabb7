#!/usr/bin/env bash
# Fails on an include that runs against the direction docs/ARCHITECTURE.md draws:
#   app -> windows, interaction -> sound, drawing -> core -> platform; the alarm window plays
#   through sound, the menu in interaction opens the windows; core includes only platform, and
#   platform nothing outside itself. Only the windows' own files (fom...) and app include the
#   clock window's class.
# Lists each such include as FILE:LINE: FOLDER -> INCLUDED. Run from anywhere in the checkout.
set -euo pipefail
cd "$(dirname "$0")/.."

# What each folder may include besides itself.
declare -A allowed=(
    [platform]=""
    [core]="platform"
    [drawing]="core platform"
    [sound]="core platform"
    [windows]="sound core platform"
    [interaction]="windows core drawing sound platform"
    [app]="windows interaction core drawing sound platform"
)

status=0
while IFS=: read -r file line text; do
    from=${file%%/*}
    included=$(sed -E 's/^[[:space:]]*#include "([^"]+)".*/\1/' <<<"$text")
    to=${included%%/*}
    [[ $included == */* && -v allowed[$to] && $to != "$from" ]] || continue
    [[ " ${allowed[$from]} " == *" $to "* ]] && continue
    echo "$file:$line: $from -> $included"
    status=1
done < <(git ls-files -- "${!allowed[@]}" | grep -E '\.(h|cpp)$' |
    xargs grep -nH -E '^[[:space:]]*#include "' || true)

# The window's class sits above every helper: only the window's own files and those of the other
# windows include it, so the helpers stay a floor that any folder can use.
while IFS=: read -r file line _; do
    [[ ${file%%/*} == app || $(basename "$file") == fom* ]] && continue
    echo "$file:$line: a helper includes core/fomBarClock.h"
    status=1
done < <(git ls-files -- "${!allowed[@]}" | grep -E '\.(h|cpp)$' |
    xargs grep -nH -E '^[[:space:]]*#include "core/fomBarClock.h"' || true)

if ((status != 0)); then
    echo "Includes above run against the direction the map draws (docs/ARCHITECTURE.md)." >&2
fi
exit "$status"
