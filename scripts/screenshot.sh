#!/usr/bin/env bash
# Screenshots of the connection page, the matrix page, the EDID dialog, the multiview page, the
# TV wall page, the system page and the debug console after a synchronisation with the device
# simulator, taken on a virtual
# 1920 x 1080 X server: the program runs in demonstration mode from a scratch copy (so the
# build's settings stay untouched), is logged into and connected over TCP with the mouse and
# keyboard, as an operator would.
#
# Usage: screenshot.sh BIN_DIR [OUT_DIR]   (OUT_DIR defaults to ./screenshots)
# Needs xvfb-run, xdotool and ImageMagick's import.
set -euo pipefail

if [ $# -lt 1 ] || [ ! -x "$1/tavilon" ] || [ ! -x "$1/tavilon-sim" ] || [ ! -x "$1/tavilon-cli" ]; then
    echo "usage: $0 BIN_DIR [OUT_DIR] (BIN_DIR holds tavilon, tavilon-sim and tavilon-cli)" >&2
    exit 2
fi
for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is needed" >&2; exit 2; }
done
bin="$(cd "$1" && pwd)"
out="$(mkdir -p "${2:-screenshots}" && cd "${2:-screenshots}" && pwd)"

if [ -z "${TAVILON_SCREENSHOT_ON_XVFB:-}" ]; then
    exec env TAVILON_SCREENSHOT_ON_XVFB=1 xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$bin" "$out"
fi

runtime="$(mktemp -d "${TMPDIR:-/tmp}/tavilon-shot.XXXXXX")"
pids=()
finish() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$runtime"
}
trap finish EXIT

# A scratch copy: a fresh settings file, so the login window comes first.
mkdir -p "$runtime/app/APP"
cp "$bin/tavilon" "$runtime/app/"
cp -r "$bin/APP/Image" "$bin/APP/StyleSheet" "$runtime/app/APP/"
cp -r "$bin/TitleBar" "$runtime/app/"

"$bin/tavilon-sim" --tcp 127.0.0.1:0 --pty "$runtime/tty" >"$runtime/simulator.log" 2>&1 &
pids+=($!)
tcp=""
for _ in $(seq 1 100); do
    tcp="$(sed -n 's/^TCP //p' "$runtime/simulator.log" | head -n 1)"
    [ -n "$tcp" ] && break
    sleep 0.1
done
[ -n "$tcp" ] || { echo "$0: the device simulator did not start" >&2; cat "$runtime/simulator.log" >&2; exit 1; }

"$runtime/app/tavilon" --demo-device "tcp=$tcp,serial=$runtime/tty" >"$runtime/tavilon.log" 2>&1 &
pids+=($!)

# The visible window of the program with the given size; prints "id x y".
wait_for_window() {
    local size="$1"
    for _ in $(seq 1 100); do
        for id in $(xdotool search --onlyvisible --class tavilon 2>/dev/null); do
            local geometry
            geometry="$(xdotool getwindowgeometry --shell "$id")"
            local width height x y
            width="$(sed -n 's/^WIDTH=//p' <<<"$geometry")"
            height="$(sed -n 's/^HEIGHT=//p' <<<"$geometry")"
            x="$(sed -n 's/^X=//p' <<<"$geometry")"
            y="$(sed -n 's/^Y=//p' <<<"$geometry")"
            if [ "${width}x${height}" = "$size" ]; then
                echo "$id $x $y"
                return 0
            fi
        done
        sleep 0.1
    done
    echo "$0: no ${size} window appeared" >&2
    return 1
}

click_at() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.3
}

# Login window (340 x 432): the password field, then Enter.
read -r _ lx ly < <(wait_for_window 340x432)
click_at $((lx + 254)) $((ly + 363))
xdotool type --delay 20 582037
xdotool key Return

# Main window (1392 x 864 on this screen): the network Connect button of the Connect tab.
read -r main mx my < <(wait_for_window 1392x864)
sleep 0.5
click_at $((mx + 318)) $((my + 553))
for _ in $(seq 1 100); do
    grep -q 'SYNC-OVER' "$runtime/simulator.log" && break
    sleep 0.1
done
sleep 0.5
import -window "$main" "$out/connect-page.png"

# The Matrix tab.
click_at $((mx + 148)) $((my + 64))
sleep 0.5
import -window "$main" "$out/matrix-page.png"

# The EDID dialog (the EDID button of the Matrix page) after reading output 1: the hex view
# and the decoded EDID beside it. Its close button, top right, closes it again.
click_at $((mx + 52)) $((my + 454))
sleep 1
dialog=""
for id in $(xdotool search --onlyvisible --class tavilon 2>/dev/null); do
    [ "$id" != "$main" ] && dialog="$id"
done
[ -n "$dialog" ] || { echo "$0: the EDID dialog did not open" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/EDID_/')"
click_at $((EDID_X + 292)) $((EDID_Y + 65))
sleep 1
import -window "$dialog" "$out/edid-details.png"
click_at $((EDID_X + EDID_WIDTH - 27)) $((EDID_Y + 22))

# The Multiview tab in PIP, PBP and 4xWIN. The mode buttons are clicked as an operator does;
# a second controller (the headless client) changes the layout, aspect and windows, which the
# page shows from the device's reports. The page starts at (2, 80) in the window; mode button
# m is centred at (237 + 154 m, 57) on it.
click_at $((mx + 370)) $((my + 64))
page_x=$((mx + 2))
page_y=$((my + 80))
other_controller() {
    "$bin/tavilon-cli" --tcp "$tcp" "$@" >/dev/null
    sleep 0.6
}
click_mode() {
    click_at $((page_x + 237 + 154 * $1)) $((page_y + 57))
    sleep 0.8
}
click_mode 1
other_controller window 1 2 3
import -window "$main" "$out/multiview-pip.png"
click_mode 2
other_controller layout 1 3
other_controller aspect 1 16:9
import -window "$main" "$out/multiview-pbp.png"
click_mode 4
other_controller layout 1 2
other_controller window 1 4 2
import -window "$main" "$out/multiview-4xwin.png"
# The TV Wall tab, then the System tab (tabs are about 100 pixels apart).
click_at $((mx + 470)) $((my + 64))
sleep 0.5
import -window "$main" "$out/tv-wall-page.png"
click_at $((mx + 570)) $((my + 64))
sleep 0.5
# Firmware version: open the kind list and take "Main".
click_at $((mx + 230)) $((my + 180))
xdotool key Return
sleep 0.8
import -window "$main" "$out/system-page.png"

# The debug console (Alt+Z while a link is up), on top of the main window.
xdotool key alt+z
sleep 0.8
import -window root "$out/debug-console.png"

echo "Screenshots: $out/connect-page.png $out/matrix-page.png $out/edid-details.png $out/multiview-pip.png" \
    "$out/multiview-pbp.png $out/multiview-4xwin.png $out/tv-wall-page.png $out/system-page.png" \
    "$out/debug-console.png"
