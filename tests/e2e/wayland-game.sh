#!/usr/bin/env bash
# Plays a 3 x 3 game to the win as a Wayland client under a real compositor:
# weston's X11 backend runs nested in a virtual X display, which takes
# xdotool's pointer and keys and hands them to weston's clients. The game runs
# with QT_QPA_PLATFORM=wayland from a copy in a scratch folder, so its ranking
# file is a fresh one; the player is named and the file is checked.
#
# Usage: wayland-game.sh BUILD_DIR
# Exits 77 (a skip) with the reason when a program it needs is missing, and
# fails on anything else. Every wait is bounded, and all of them together by
# HORONPA_E2E_SECONDS (150 s); what it starts is ended also when it fails or
# is itself killed.
set -euo pipefail
build=$1
deadline=$((SECONDS + ${HORONPA_E2E_SECONDS:-150}))

skip() {
  echo "SKIP: $*"
  exit 77
}
for tool in Xvfb weston weston-debug xdotool xwininfo convert; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps installs it)"
done
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || true)
if [ -n "$plugins" ] && ! ls "$plugins"/platforms/libqwayland-*.so >/dev/null 2>&1; then
  skip "Qt's Wayland platform plugin is not installed in $plugins (qt6-wayland)"
fi

work=$(mktemp -d)
# Whatever this run starts is listed here and ended by the clean-up; should the
# run be killed before it can clean up, a watcher does it.
: >"$work/pids"
# Ends the processes listed, each given 5 s to end (the display removes its
# socket and lock then) before it is killed, and removes the scratch folder.
end_all() {
  local pids
  pids=$(cat "$work/pids" 2>/dev/null) || return 0
  : >"$work/pids"
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  for pid in $pids; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap end_all EXIT
trap 'exit 1' INT TERM HUP
(
  while kill -0 $$ 2>/dev/null; do sleep 1; done
  end_all
) </dev/null >/dev/null 2>&1 &
started() { echo "$1" >>"$work/pids"; }

fail() {
  echo "FAIL: $*" >&2
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}
# until WHAT COMMAND...: runs COMMAND every tenth of a second until it
# succeeds, failing once the run's time is up.
until_ok() {
  local what=$1
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
    sleep 0.1
  done
}

# The virtual display picks a free number itself, unless HORONPA_TEST_DISPLAY
# names one (such as :92).
if [ -n "${HORONPA_TEST_DISPLAY:-}" ]; then
  echo "${HORONPA_TEST_DISPLAY#:}" >"$work/display"
  Xvfb "$HORONPA_TEST_DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
else
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
fi
started $!
until_ok "the virtual display" test -s "$work/display"
export DISPLAY=:$(cat "$work/display")
until_ok "the virtual display" xwininfo -root >/dev/null 2>&1

# weston, with a socket of its own in a runtime folder of its own and no
# on-screen keyboard; --debug lets weston-debug list the windows and where
# they are.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=horonpa-e2e
printf '[input-method]\npath=\n' >"$work/weston.ini"
weston --backend=x11-backend.so --use-pixman --config="$work/weston.ini" --idle-time=0 --debug \
  --socket="$WAYLAND_DISPLAY" --width=1024 --height=768 >"$work/weston.log" 2>&1 &
started $!
until_ok "weston" timeout 10 weston-debug scene-graph >/dev/null 2>&1
# Where weston's screen lies on the virtual display.
origin() {
  xwininfo -root -tree 2>/dev/null |
    awk '/"Weston Compositor/ { split($NF, p, "+"); print p[2], p[3]; exit }'
}
until_ok "weston's window on the virtual display" test -n "$(origin)"
read -r ox oy < <(origin)

# The client area of the shown window whose title matches the extended
# regular expression $1, in weston's coordinates: "left top right bottom"
# (what the window paints opaque, that is without its decoration).
area() {
  timeout 10 weston-debug scene-graph 2>/dev/null | awk -v title="$1" -v q="'" '
    /role xdg_toplevel/ { mine = match($0, "top-level window " q "(" title ")" q) }
    mine && /opaque: \(/ { gsub(/[^0-9]+/, " "); print $1, $2, $3, $4; exit }'
}
# Waits for such a window and prints its client area.
window() {
  local at
  until at=$(area "$1") && [ -n "$at" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for the window '$1'"
    sleep 0.1
  done
  echo "$at"
}
gone() { [ -z "$(area "$1")" ]; }
# Clicks at (x, y) of weston's screen.
click() {
  xdotool mousemove $((ox + $1)) $((oy + $2)) click 1
  sleep 0.15
}
# Presses a key for the box titled $1, again should the box not take it.
answer() {
  local tries=0
  until gone "$1"; do
    [ $((tries++)) -lt 5 ] || fail "the box '$1' does not take $2"
    xdotool key "$2"
    local until=$((SECONDS + 5))
    until gone "$1" || [ "$SECONDS" -ge "$until" ]; do sleep 0.1; done
  done
}

mkdir "$work/game"
cp "$build/horonpa" "$build/horonpa.html" "$work/game/"
(cd "$work/game" && exec env -u DISPLAY QT_QPA_PLATFORM=wayland ./horonpa) >"$work/game.log" 2>&1 &
started $!

read -r mx my _ < <(window 'ホロンパ')
click $((mx + 236)) $((my + 82))        # Let's Go!! (the selectors start at 3 x 3, 3 colours)
window '確認' >/dev/null
answer '確認' Return                   # はい

read -r bx by bx1 _ < <(window '経過時間:[0-9]+秒')
side=$(((bx1 - bx) / 3))
# The palette indices of the panels, a row a line, read from the screen once
# every panel shows one of the 3 colours.
declare -A index=(["0,255,255"]=0 ["0,0,0"]=1 ["0,0,255"]=2)
read_board() {
  local r c x y rgb line
  import -window root "$work/board.png" 2>/dev/null || return 1
  rows=""
  for r in 0 1 2; do
    line=""
    for c in 0 1 2; do
      x=$((ox + bx + c * side + side / 2)) y=$((oy + by + r * side + side / 2))
      rgb=$(convert "$work/board.png" -format \
        "%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)]" info:)
      [ -n "${index[$rgb]:-}" ] || return 1
      line+="${line:+ }${index[$rgb]}"
    done
    rows+="$line"$'\n'
  done
}
until_ok "the board's colours" read_board
presses=$(printf '%s' "$rows" | "$build/tools/horonpa-solver" solve --colors 3 | sed -n '2,4p')
# A board dealt in one colour is won by pressing a panel as often as there
# are colours.
[ "$(tr -d ' 0\n' <<<"$presses")" ] || presses=$'0 0 0\n0 3 0\n0 0 0'
clicks=0
r=0
while read -r -a counts; do
  for c in 0 1 2; do
    for _ in $(seq "${counts[$c]}"); do
      click $((bx + c * side + side / 2)) $((by + r * side + side / 2))
      clicks=$((clicks + 1))
    done
  done
  r=$((r + 1))
done <<<"$presses"

# The score, then the name box of rank 1.
window 'ホロンパ' >/dev/null
answer 'ホロンパ' Return
window '【1位】名前を入力してください' >/dev/null
xdotool type --delay 50 Wayland
answer '【1位】名前を入力してください' Return
window 'ホロンパ　スコアランキング' >/dev/null

ini=$work/game/horonpa.ini
until_ok "the ranking file" test -s "$ini"
grep -q $'^\[3\]\r$' "$ini" || fail "no section [3] in the ranking file: $(cat -v "$ini")"
line=$(grep -a '^1=' "$ini" | tr -d '\r')
[[ "$line" =~ ^1=1,Wayland,[0-9]+,[0-9]+,$clicks,3$ ]] ||
  fail "rank 1 of size 3 is '$line', not Wayland's win in $clicks clicks with 3 colours"
echo "won a 3 x 3 game in $clicks clicks as a Wayland client under weston; ranked: $line"
