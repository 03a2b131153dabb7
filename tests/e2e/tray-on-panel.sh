#!/usr/bin/env bash
# A StatusNotifierItem panel that starts after the clock, as at many logins, gets the icon with
# the clock's menu over DBusMenu, and gets it again when it restarts. From the panel, the span's
# tick follows the choice, 設定 holds its submenu, and 終了 ends the clock, which saves.
source "$(dirname "$0")/lib.sh"
WATCHER=$2
command -v gdbus >/dev/null 2>&1 || fail "'gdbus' is not installed; run tools/install-deps.sh"

e2e_private_env
e2e_start_x
e2e_store_settings Left=3000 Top=3000 TaskTray=1
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"

# start_panel NAME WHEN: starts the watcher, waits for the icon, and sets ITEM and MENU.
start_panel() {
    local deadline=$(($(now_ms) + 10000)) line
    "$WATCHER" >"$E2E_TMP/$1.log" 2>&1 &
    WATCHER_PID=$!
    E2E_PIDS+=("$WATCHER_PID")
    until line=$(grep -m 1 '^item ' "$E2E_TMP/$1.log"); do
        (($(now_ms) < deadline)) || fail "no icon registered within 10 s ($2)"
        sleep 0.05
    done
    read -r _ ITEM path <<<"$line"
    MENU=$(gdbus call --session -d "$ITEM" -o "$path" -m org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierItem Menu | sed -n "s/^(<objectpath '\(.*\)'>,)$/\1/p")
    [[ -n $MENU && $MENU != /NO_DBUSMENU ]] || fail "the icon exports no menu: '$MENU' ($2)"
}
menu_call() {
    gdbus call --session -d "$ITEM" -o "$MENU" -m "com.canonical.dbusmenu.$1" -- "${@:2}"
}
# item CAPTION [PARENT]: the item as the panel reads it, "(ID, {PROPERTIES}".
item() {
    menu_call GetLayout "${2:-0}" -1 '[]' | grep -oP '\(\d+, \{[^}]*\}' |
        grep -F "'label': <'$1'>" || fail "no item '$1' in the menu"
}
item_id() { item "$@" | grep -oP '^\(\K\d+'; }
# ticks: the check marks of 短い, 普通 and 長い as the panel reads them.
ticks() {
    for caption in 短い 普通 長い; do
        item "$caption" | grep -oP "'toggle-state': <\K\d"
    done | paste -sd ' '
}

sleep 2
start_panel panel "panel started 2 s after the clock"
item 表示幅 | grep -qF "'children-display': <'submenu'>" || fail "表示幅 has no submenu"
[[ $(ticks) == "0 1 0" ]] || fail "not 普通 alone ticked: $(ticks)"
item 'その他 ...' "$(item_id 設定)" >/dev/null
kill -TERM "$WATCHER_PID"
e2e_wait_gone "$WATCHER_PID" 5 || fail "the watcher did not end"
start_panel panel-again "panel restarted"
note "icon with its menu on a panel started after the clock, and again when it restarted"

menu_call Event "$(item_id 長い)" clicked '<0>' 0 >/dev/null
deadline=$(($(now_ms) + 5000))
until grep -q '^TimeWidth=360$' "$INI"; do
    (($(now_ms) < deadline)) || fail "長い from the panel stored no TimeWidth=360"
    sleep 0.05
done
[[ $(ticks) == "0 0 1" ]] || fail "not 長い alone ticked after choosing it: $(ticks)"
# Gone, so the file shows what the end saved.
rm "$INI"
menu_call Event "$(item_id 終了)" clicked '<0>' 0 >/dev/null
e2e_wait_gone "$CLOCK_PID" 10 || fail "終了 from the panel did not end the clock"
wait "$CLOCK_PID" || fail "the clock ended with status $?"
grep -q '^TimeWidth=360$' "$INI" || fail "nothing saved at the end: $(cat "$INI" 2>/dev/null)"
note "ok: 長い from the panel moved the tick; 終了 ended the clock, which saved"
