#!/usr/bin/env bash
# The real game on a real display server, played for a few seconds as a player would:
#   display_server_smoke.sh x11|wayland GAME SOURCE_DIR [CPU_LIMIT]
# x11: an X server of its own (Xvfb, on a display number it picks itself) with a window
# manager (openbox). wayland: a Wayland compositor (weston, drawing in memory, nested in such
# an X server), the game on SDL's Wayland driver and the shared-memory buffers.
# It checks that the menu's pixels reach the screen, that keys start play, that a message box
# ("Cheater!", the cheat key) shows and closes, that Alt+Enter goes from full screen to a
# window and back, that the menu costs less than CPU_LIMIT per cent of a core (15 by default;
# a sanitized debug build draws several times slower and is given more), and that SIGTERM ends the
# game with code 0. Exit code 77 (ctest's skip) with one line saying why when a server or a
# tool it needs is missing or cannot start. It never touches a screen of its own user.
set -u
mode=${1:?x11 or wayland}
game=${2:?the game}
source=${3:?the source folder}
cpuLimit=${4:-15}
width=1024
height=768

skip() {
  echo "SKIP: $*"
  exit 77
}
for tool in Xvfb xdotool import-im6.q16 convert-im6.q16; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/setup.sh --test installs it)"
done
if [ "$mode" = x11 ]; then
  for tool in openbox xprop; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (tools/setup.sh --test installs it)"
  done
else
  command -v weston >/dev/null || skip "weston is not installed (tools/setup.sh --test installs it)"
fi

work=$(mktemp -d)
pids=()
finish() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
fail() {
  echo "FAIL: $*"
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 20 "$log"; }
  done
  exit 1
}

# The game gets a settings folder and a copy of the pictures of its own.
cp -r "$source/Data" "$work/Data"
mkdir -p "$work/run" "$work/config"
chmod 700 "$work/run"
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run

Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || skip "Xvfb cannot start here"
export DISPLAY=":$(cat "$work/display")"
# The pointer waits in a corner, over no menu item: the keys alone pick them.
xdotool mousemove $((width - 1)) $((height - 1))

gameEnv=(SDL_AUDIODRIVER=dummy)
gameUnset=()
if [ "$mode" = x11 ]; then
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  wm=""
  for _ in $(seq 150); do
    wm=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>&1)
    case "$wm" in *"window id"*) break ;; esac
    sleep 0.1
  done
  case "$wm" in *"window id"*) ;; *) skip "openbox cannot start here: $wm" ;; esac
  gameEnv+=(SDL_VIDEODRIVER=x11)
  gameUnset=(-u WAYLAND_DISPLAY)
else
  weston --backend=x11-backend.so --use-pixman --width=$width --height=$height --no-config \
    --idle-time=0 --socket=reefmaw-smoke >"$work/weston.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/reefmaw-smoke" ] && break; sleep 0.1; done
  [ -S "$XDG_RUNTIME_DIR/reefmaw-smoke" ] || skip "weston cannot start here"
  sleep 0.5  # its shell client draws the desktop
  gameEnv+=(SDL_VIDEODRIVER=wayland WAYLAND_DISPLAY=reefmaw-smoke)
  gameUnset=(-u DISPLAY)  # the game sees the compositor alone
fi

# System libraries (D-Bus, libdecor, Wayland) keep allocations to the end under real display
# servers; the unit tests check the game's own memory. Address faults still stop the game.
env ${gameUnset[@]+"${gameUnset[@]}"} "${gameEnv[@]}" ASAN_OPTIONS=abort_on_error=1:detect_leaks=0 \
  "$game" --fullscreen --no-joystick --data "$work" --config "$work/reefmaw.ini" \
  >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")

# The average colour of a part of the screen, as "R G B": only that part is grabbed, and
# averaged in the same step, with no picture file between.
colour() {  # x y w h
  import-im6.q16 -window root -crop "$3x$4+$1+$2" -resize '1x1!' \
    -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info: 2>/dev/null
}
# Waits up to $1 seconds for a part of the screen to pass a test of its colour.
waitFor() {  # seconds what x y w h test
  local deadline=$((SECONDS + $1)) what=$2 test=$7 c="" r g b
  while [ $SECONDS -lt "$deadline" ]; do
    kill -0 "$game" 2>/dev/null || fail "the game ended while waiting for $what"
    if c=$(colour "$3" "$4" "$5" "$6"); then
      read -r r g b <<<"$c"
      if eval "$test"; then
        echo "saw $what (average colour $c)"
        return 0
      fi
    fi
    sleep 0.3
  done
  fail "no $what on the screen (last average colour ${c:-none})"
}
# The sizes of the game's visible windows, as the X server has them.
windowSizes() {
  sizes=$(for w in $(xdotool search --onlyvisible --pid "$game" 2>/dev/null); do
    xdotool getwindowgeometry "$w" | grep Geometry
  done)
}
key() {
  xdotool key "$1"
  sleep 0.3
}

# Full screen at 1024 x 768 shows the 800 x 600 picture over the whole screen: the bottom
# strip is the picture's seabed (the menu's sand, or play's dark status panel), the
# top-left corner its water, the centre where a message box stands.
bottom=(0 700 $width 40)
corner=(0 0 16 16)
centre=($((width / 2 - 30)) $((height / 2 - 22)) 60 8)
sand='[ $r -gt 120 ] && [ $g -gt 100 ] && [ $b -lt $((r - 20)) ]'
panel='[ $r -lt 90 ] && [ $g -lt 90 ] && [ $b -lt 90 ]'
water='[ $b -gt 150 ] && [ $b -gt $((r + 50)) ]'
box='[ $r -gt 180 ] && [ $g -gt 180 ] && [ $b -gt 180 ]'

waitFor 30 "the menu's sand at the bottom" "${bottom[@]}" "$sand"

# The menu's cost, counted from the kernel's record of the game's own CPU time over a few
# settled seconds: other programs running meanwhile slow it down but add nothing to it.
sleep 1
cpuTicks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
ticks0=$(cpuTicks)
start=$(date +%s%N)
sleep 3
ticks1=$(cpuTicks)
elapsed=$(($(date +%s%N) - start))
percent=$(((ticks1 - ticks0) * 100000000000 / $(getconf CLK_TCK) / elapsed))
echo "the menu took $percent % of a core over $((elapsed / 1000000)) ms (limit $cpuLimit %)"
[ "$percent" -lt "$cpuLimit" ] || fail "the menu takes $percent % of a core, $cpuLimit % at most"

key Down  # the first item: a new game
key Return
waitFor 10 "play's status panel after Down and Enter" "${bottom[@]}" "$panel"
key Return  # from the level's intro into play
key asciitilde
waitFor 10 "the \"Cheater!\" box" "${centre[@]}" "$box"
key Return
waitFor 10 "the box closed" "${centre[@]}" "! { $box; }"

key alt+Return
waitFor 10 "a window after Alt+Enter (the desktop in the corner)" "${corner[@]}" "! { $water; }"
if [ "$mode" = x11 ]; then
  windowSizes
  grep -q "Geometry: 800x600" <<<"$sizes" || fail "the game's window is not 800 x 600 after Alt+Enter: $sizes"
fi
key alt+Return
waitFor 10 "full screen after Alt+Enter again (water in the corner)" "${corner[@]}" "$water"
if [ "$mode" = x11 ]; then
  windowSizes
  grep -q "Geometry: ${width}x${height}" <<<"$sizes" ||
    fail "the game's window does not cover the screen after Alt+Enter again: $sizes"
fi

kill -TERM "$game"
wait "$game"
code=$?
[ "$code" -eq 0 ] || fail "SIGTERM ended the game with code $code"
echo "SIGTERM ended the game with code 0"
echo "PASS: $mode"
