#!/usr/bin/env bash
# Fails on an include that runs against the direction docs/ARCHITECTURE.md draws:
#   app -> windows, interaction -> core, drawing, sound -> platform; the menu in interaction
#   opens the windows; platform includes nothing outside itself.
# Lists each such include as FILE:LINE: FOLDER -> INCLUDED. Run from anywhere in the checkout.
set -euo pipefail
cd "$(dirname "$0")/.."

# What each folder may include besides itself.
declare -A allowed=(
    [platform]=""
    [core]="platform"
    [drawing]="core platform"
    [sound]="core platform"
    [windows]="core platform"
    [interaction]="windows core drawing sound platform"
    [app]="windows interaction core drawing sound platform"
)
# The two that run from core into a subsystem of the one window on purpose: the window owns its
# player, and the tick draws the character with the strip's geometry.
exceptions=(
    "core/fomBarClock.h sound/modMCIPlay.h"
    "core/fomBarClockTick.cpp drawing/StripGeometry.h"
)

status=0
while IFS=: read -r file line text; do
    from=${file%%/*}
    included=$(sed -E 's/^[[:space:]]*#include "([^"]+)".*/\1/' <<<"$text")
    to=${included%%/*}
    [[ $included == */* && -v allowed[$to] && $to != "$from" ]] || continue
    [[ " ${allowed[$from]} " == *" $to "* ]] && continue
    [[ " ${exceptions[*]/%/;} " == *" $file $included;"* ]] && continue
    echo "$file:$line: $from -> $included"
    status=1
done < <(git ls-files -- "${!allowed[@]}" | grep -E '\.(h|cpp)$' |
    xargs grep -nH -E '^[[:space:]]*#include "' || true)

if ((status != 0)); then
    echo "Includes above run against the direction the map draws (docs/ARCHITECTURE.md)." >&2
fi
exit "$status"
