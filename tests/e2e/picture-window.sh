#!/usr/bin/env bash
# "画像設定 ..." from the bar's menu opens the picture window with a client area of 321 x 241.
# With a picture of the user's stored but the built-in one chosen, a click on the background's
# "カスタム" and Enter make the bar show that picture within the next tick (taller, in its
# colour), and store BackType 1.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"
command -v xwd >/dev/null 2>&1 || fail "'xwd' is not installed; run tools/install-deps.sh"

# bitmap FILE: a 24-bit bitmap of 1440 x 60, every byte 0x21.
bitmap() {
    # Header: the file's and the pixels' sizes (259254, 259200), 1440 wide, 60 high, 24 bits.
    printf 'BM\xb6\xf4\x03\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xa0\x05\0\0\x3c\0\0\0\x01\0\x18\0\0\0\0\0\x80\xf4\x03\0\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0' >"$1"
    head -c 259200 /dev/zero | tr '\0' '\041' >>"$1"
}

# pixel_at WINDOW X Y: the colour shown there, as rrggbb.
pixel_at() {
    e2e_window_pixels "$1"
    od -An -tx1 -j $((XWD_START + $3 * XWD_STRIDE + $2 * 4)) -N3 "$XWD_FILE" | awk '{ print $3 $2 $1 }'
}

e2e_private_env
e2e_start_x
PICTURE=$E2E_TMP/pictures/day.bmp
mkdir -p "$(dirname "$PICTURE")"
bitmap "$PICTURE"
write_settings "BackType=0" "Style=1" "BackName=$PICTURE"
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"

# The second item opens "設定"; its first item is "画像設定 ...".
e2e_open_menu
xdotool key --delay 100 Down Down Right Return
deadline=$(($(now_ms) + 5000))
until PICTURES=$(e2e_window_titled "$CLOCK_PID" "クイロン 画像設定") && [[ -n $PICTURES ]]; do
    (($(now_ms) < deadline)) || fail "no window titled クイロン 画像設定 within 5 s of the menu"
    sleep 0.05
done
size=$(xwininfo -id "$PICTURES" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w " x " h }')
[[ $size == "321 x 241" ]] || fail "the picture window is $size, not 321 x 241"

# The background's "カスタム" stands at (144, 24), 73 x 17.
xdotool mousemove --window "$PICTURES" 170 32 click 1
deadline=$(($(now_ms) + 5000))
until [[ $(xdotool getwindowfocus) == "$PICTURES" ]]; do
    (($(now_ms) < deadline)) || fail "the picture window does not get the focus"
    sleep 0.05
done
xdotool key Return
entered=$(now_ms)
until [[ -z $(e2e_window_titled "$CLOCK_PID" "クイロン 画像設定") &&
    $(xwininfo_field "$(xwininfo -id "$WINDOW")" Height) == 60 &&
    $(pixel_at "$WINDOW" 10 30) == 212121 ]]; do
    (($(now_ms) < entered + 3000)) ||
        fail "3 s after Enter: bar $(xwininfo -id "$WINDOW" | grep -E 'Width|Height' | tr -s ' \n' ' '), colour $(pixel_at "$WINDOW" 10 30) at (10, 30)"
    sleep 0.05
done
shown=$(($(now_ms) - entered))
grep -qxF "BackType=1" "$INI" || fail "stored $(grep '^BackType=' "$INI"), not BackType=1"
note "ok: the menu opened the picture window ($size); Enter showed the picture in the bar after $shown ms and stored BackType=1"
