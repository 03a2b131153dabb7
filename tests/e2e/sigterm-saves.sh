#!/usr/bin/env bash
# SIGTERM on a first start: the clock saves every setting, with the window's place in twips,
# and ends with status 0. Until then a first start writes nothing.
source "$(dirname "$0")/lib.sh"

KEYS=(Style TimeWidth Left Top BackType CharType BackName CharName1 CharName2 WordSize
    TmpMode TmpEnvName TmpFileName LastTime TimeCheckLength TimeCheckMode AlarmMode
    AlarmTime AlarmName1 AlarmName2 TaskTray TopMost AlarmWake)

e2e_private_env
e2e_start_x
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"
# Where it ends up after any move right after showing; the saved place must match it.
e2e_wait_position "$WINDOW" "512 471" || true

[[ ! -e $INI ]] || fail "a first start wrote its settings before ending:"$'\n'"$(cat "$INI")"

sent_at=$(date +%s)
kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"
status=0
wait "$CLOCK_PID" || status=$?
((status == 0)) || fail "the clock ended with status $status after SIGTERM"
[[ -s $INI ]] || fail "no settings file at $INI after SIGTERM"

# key=value lines of the [Setting] group, surrounding quotes removed.
settings=$(awk '
    /^\[/ { group = $0; next }
    group == "[Setting]" && /=/ {
        key = $0; sub(/ *=.*/, "", key)
        value = $0; sub(/^[^=]*= */, "", value); gsub(/^"|"$/, "", value)
        print key "=" value
    }' "$INI")
[[ -n $settings ]] || fail "no [Setting] group in:"$'\n'"$(cat "$INI")"

value_of() {
    sed -n "s/^$1=//p" <<<"$settings"
}

problems=()
for key in "${KEYS[@]}"; do
    grep -q "^$key=" <<<"$settings" || problems+=("missing key $key")
done
while IFS= read -r key; do
    [[ " ${KEYS[*]} " == *" $key "* ]] || problems+=("unexpected key $key")
done < <(cut -d= -f1 <<<"$settings")
count=$(grep -c . <<<"$settings")
((count == ${#KEYS[@]})) || problems+=("$count keys in [Setting], expected ${#KEYS[@]}")

# A first start centres the window by its size before the pictures are loaded (256 x 82):
# (512, 471) on this screen, 15 twips a pixel.
[[ $POSITION == "512 471" ]] || problems+=("the window stood at ($POSITION), not centred at (512 471)")
[[ $(value_of Left) == 7680 ]] || problems+=("Left=$(value_of Left), expected 7680 (512 px)")
[[ $(value_of Top) == 7065 ]] || problems+=("Top=$(value_of Top), expected 7065 (471 px)")
[[ $(value_of TimeWidth) == 240 ]] || problems+=("TimeWidth=$(value_of TimeWidth), expected 240")

last=$(value_of LastTime)
if [[ $last =~ ^([0-9]{4})/([0-9]{2})/([0-9]{2})\ ([12]?[0-9]):([0-9]{2}):([0-9]{2})$ ]]; then
    # The moment of ending, in local time: month and minute must not be swapped or stale.
    saved=$(date -d "${BASH_REMATCH[1]}-${BASH_REMATCH[2]}-${BASH_REMATCH[3]} ${BASH_REMATCH[4]}:${BASH_REMATCH[5]}:${BASH_REMATCH[6]}" +%s 2>/dev/null || echo 0)
    ((saved >= sent_at - 60 && saved <= $(date +%s) + 60)) ||
        problems+=("LastTime=$last is not the time of ending ($(date -d "@$sent_at" '+%Y/%m/%d %-H:%M:%S'))")
else
    problems+=("LastTime='$last' is not yyyy/MM/dd H:mm:ss")
fi

if ((${#problems[@]})); then
    echo "--- $INI ---" >&2
    cat "$INI" >&2
    printf '%s\n' "${problems[@]}" >&2
    fail "${#problems[@]} problem(s) with the saved settings"
fi
note "ok: ended with 0 and saved ${#KEYS[@]} keys, Left=7680 Top=7065 LastTime=$last"
