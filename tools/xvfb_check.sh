#!/usr/bin/env bash
# Plays the real game on virtual X screens and checks what a player would see:
# the picture's place and scale at each screen size, sharp whole-factor
# pixels, Alt+Enter to a window and back, the pointer landing on menu rows,
# minimising, and focus loss freezing the game (no frames, no sound, no CPU)
# until it is active again; then the way out through pause, title and exit.
# It also measures the whole process's CPU use while playing.
#
#   tools/xvfb_check.sh [WxH ...]      default: 1920x1080 2560x1440
#
# The game runs as `make run` runs it (./build/gobblestamp with data/ in the
# working directory), from a scratch folder holding a copy of data/ so that
# the player's best score stays untouched. Screenshots stay in $OUT.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
XVFB_ROOT=$ROOT
. "$ROOT/tools/xvfb_session.sh"
xvfb_need_tools || exit 1
command -v python3 >/dev/null || { echo "python3 is needed"; exit 1; }
make -s -C "$ROOT" build >/dev/null || { echo "build failed"; exit 1; }

OUT=${OUT:-$(mktemp -d /tmp/gobble-xvfb-XXXXXX)}
SIZES=${*:-1920x1080 2560x1440}
PASSED=0 FAILED=0
pass() { echo "PASS $1"; PASSED=$((PASSED + 1)); }
fail() { echo "FAIL $1"; FAILED=$((FAILED + 1)); }
check() { local name=$1; shift; if "$@"; then pass "$name"; else fail "$name"; fi; }
PRESENT_PROBE= PROBE_ADDED=
SDL_LIB=$(ldd "$ROOT/build/gobblestamp" | awk '/libSDL2-2.0/ {print $3}')
if command -v perf >/dev/null && [ -n "$SDL_LIB" ]; then
  if perf probe -l 2>/dev/null | grep -q "probe_libSDL2:SDL_RenderPresent "; then
    PRESENT_PROBE=probe_libSDL2:SDL_RenderPresent
  elif perf probe -q -x "$SDL_LIB" SDL_RenderPresent >/dev/null 2>&1; then
    PRESENT_PROBE=probe_libSDL2:SDL_RenderPresent PROBE_ADDED=1
  fi
fi
cleanup() {
  xvfb_stop
  [ -n "$PROBE_ADDED" ] && perf probe -q -d "$PRESENT_PROBE" >/dev/null 2>&1
}
trap cleanup EXIT

# The picture's rectangle in a W x H area, as the device places it.
fit() {   # W H -> "w h x y"
  local W=$1 H=$2 w h
  if [ $((W * 480)) -ge $((H * 640)) ]; then h=$H; w=$(( (H * 640 * 2 + 480) / 960 ));
  else w=$W; h=$(( (W * 480 * 2 + 640) / 1280 )); fi
  echo "$w $h $(( (W - w) / 2 )) $(( (H - h) / 2 ))"
}
# Screen pixel showing logical pixel l along an axis of `size` pixels at `off`.
to_screen() {   # l logical size off
  local first=$(( ($1 * $3 + $2 - 1) / $2 )) next=$(( (($1 + 1) * $3 + $2 - 1) / $2 )) gap
  gap=$(( next - 1 - first )); [ $gap -lt 0 ] && gap=0
  echo $(( $4 + first + gap / 2 ))
}
# True when the picture region of FILE is made of exact k x k blocks.
whole_blocks() {   # FILE w h x y k
  local f=$1 w=$2 h=$3 x=$4 y=$5 k=$6
  convert "$f" -crop "${w}x${h}+${x}+${y}" +repage "$OUT/crop.png"
  convert "$OUT/crop.png" -sample "$((w / k))x$((h / k))!" -sample "${w}x${h}!" "$OUT/blocks.png"
  [ "$(compare -metric AE "$OUT/crop.png" "$OUT/blocks.png" null: 2>&1)" = "0" ]
}
region_sum() { convert "$1" -crop "$2" +repage -format '%#' info:; }   # a digest of a region
# Peak absolute sample of the sound written between two byte offsets.
peak() {   # FILE FROM TO
  python3 - "$@" <<'PY'
import sys, array
f, a, b = sys.argv[1], int(sys.argv[2]) & ~3, int(sys.argv[3]) & ~3
with open(f, 'rb') as fh:
    fh.seek(a); s = array.array('h', fh.read(max(0, b - a)))
print(max((abs(v) for v in s), default=0))
PY
}
size_of() { stat -c %s "$1" 2>/dev/null || echo 0; }

for size in $SIZES; do
  W=${size%x*} H=${size#*x}
  echo "== screen $W x $H"
  read -r PW PH PX PY <<<"$(fit "$W" "$H")"
  WORK=$OUT/run-$size
  mkdir -p "$WORK/data"
  cp "$ROOT"/data/*.ogg "$WORK/data/"
  xvfb_start "$W" "$H" || { fail "$size: virtual screen"; continue; }
  XVFB_ROOT=$WORK
  ln -sfn "$ROOT/build" "$WORK/build"
  if ! game_start "$WORK"; then fail "$size: game window appears"; cat "$WORK/game.err"; xvfb_stop; continue; fi

  sleep 2.5
  shot "$WORK/intro.png"
  check "$size: full-screen window covers the screen" [ "$(client_geometry "$GAME_WID")" = "$W $H 0 0" ]
  check "$size: intro picture at ${PW}x${PH}+${PX}+${PY}, bars black" \
    [ "$(content_box "$WORK/intro.png")" = "${PW}x${PH}+${PX}+${PY}" ]
  K=$((PH / 480))
  if [ $((K * 480)) -eq "$PH" ] && [ $((K * 640)) -eq "$PW" ]; then
    check "$size: every pixel an exact ${K}x${K} block" whole_blocks "$WORK/intro.png" $PW $PH $PX $PY $K
  fi

  xdotool key Escape; sleep 1.5
  shot "$WORK/title.png"
  check "$size: title menu after Escape, same place" [ "$(content_box "$WORK/title.png")" = "${PW}x${PH}+${PX}+${PY}" ]

  # Alt+Enter: a window of a whole multiple of the picture, then back.
  xdotool key alt+Return; sleep 1.5
  read -r CW CH CX CY <<<"$(client_geometry "$GAME_WID")"
  shot "$WORK/windowed.png"
  check "$size: Alt+Enter gives a window (${CW}x${CH})" [ "$CW" -lt "$W" ] && [ $((CW * 3)) -eq $((CH * 4)) ]
  check "$size: windowed picture in whole blocks" whole_blocks "$WORK/windowed.png" $CW $CH $CX $CY $((CW / 640))
  xdotool key alt+Return; sleep 1.5
  shot "$WORK/back.png"
  check "$size: Alt+Enter again is full screen" [ "$(client_geometry "$GAME_WID")" = "$W $H 0 0" ]
  check "$size: picture back in place" [ "$(content_box "$WORK/back.png")" = "${PW}x${PH}+${PX}+${PY}" ]

  # Minimised and back: full screen again.
  xdotool windowminimize "$GAME_WID"; sleep 1
  timeout 5 xdotool windowactivate "$GAME_WID"; sleep 1.5
  check "$size: minimised window comes back full-screen" [ "$(client_geometry "$GAME_WID")" = "$W $H 0 0" ]

  # The pointer: click "Start Game" (rows from y 220, 35 high) at its place on screen.
  xdotool mousemove "$(to_screen 320 640 $PW $PX)" "$(to_screen 237 480 $PH $PY)"; sleep 0.3
  xdotool click 1; sleep 2
  PIC="${PW}x${PH}+${PX}+${PY}"
  shot "$WORK/play1.png"; sleep 0.5; shot "$WORK/play2.png"
  check "$size: a click on Start Game starts play (the picture moves)" \
    [ "$(region_sum "$WORK/play1.png" "$PIC")" != "$(region_sum "$WORK/play2.png" "$PIC")" ]

  # Whole-process CPU while playing, and frames per second where perf can
  # count the presents (an uprobe on SDL_RenderPresent; needs root).
  T0=$(cpu_ticks "$GAME_PID")
  if [ -n "$PRESENT_PROBE" ]; then
    perf stat -e "$PRESENT_PROBE" -p "$GAME_PID" -x, -o "$WORK/presents.txt" sleep 10 2>/dev/null
  else
    sleep 10
  fi
  T1=$(cpu_ticks "$GAME_PID")
  HZ=$(getconf CLK_TCK)
  FPS=$(awk -F, '/RenderPresent/ {printf "%.1f", $1 / 10}' "$WORK/presents.txt" 2>/dev/null)
  echo "MEASURE $size: CPU while playing $(( (T1 - T0) * 100 / (HZ * 10) ))% of one core," \
       "${FPS:-unmeasured} frames per second, load average $(cut -d' ' -f1 /proc/loadavg)"

  # Focus to another application: frozen picture, silent, idle; then back.
  xmessage -geometry +0+0 "another application" >/dev/null 2>&1 &
  MSG=$!
  MWID=$(timeout 5 xdotool search --sync --class xmessage | head -1)
  timeout 5 xdotool windowactivate "$MWID"; sleep 1
  A0=$(size_of "$WORK/audio.raw"); T0=$(cpu_ticks "$GAME_PID")
  shot "$WORK/susp1.png"; sleep 3; shot "$WORK/susp2.png"
  A1=$(size_of "$WORK/audio.raw"); T1=$(cpu_ticks "$GAME_PID")
  # Only the picture's right half: the other window sits at the top left.
  HALF="$((PW / 2))x${PH}+$((PX + PW / 2))+${PY}"
  check "$size: suspended game draws nothing" \
    [ "$(region_sum "$WORK/susp1.png" "$HALF")" = "$(region_sum "$WORK/susp2.png" "$HALF")" ]
  check "$size: suspended game is silent (factory loop paused)" [ "$(peak "$WORK/audio.raw" "$A0" "$A1")" = 0 ]
  # A spinning wait would take a whole core; the sound thread still writes
  # (silence) and the event wait wakes now and then.
  SUSP=$(( (T1 - T0) * 100 / (HZ * 3) ))
  echo "MEASURE $size: CPU while suspended ${SUSP}% of one core ($((T1 - T0)) ticks in 3 s)"
  check "$size: suspended game does not spin (under 10% CPU)" [ "$SUSP" -lt 10 ]
  timeout 5 xdotool windowactivate "$GAME_WID"; sleep 1.5
  kill "$MSG" 2>/dev/null; wait "$MSG" 2>/dev/null
  A0=$(size_of "$WORK/audio.raw")
  shot "$WORK/resumed1.png"; sleep 0.5; shot "$WORK/resumed2.png"
  A1=$(size_of "$WORK/audio.raw")
  check "$size: active again, play goes on" \
    [ "$(region_sum "$WORK/resumed1.png" "$HALF")" != "$(region_sum "$WORK/resumed2.png" "$HALF")" ]
  check "$size: active again, the factory loop sounds" [ "$(peak "$WORK/audio.raw" "$A0" "$A1")" -gt 0 ]

  # Out: Escape pauses, Escape leaves to the title, Escape ends the program.
  xdotool key Escape; sleep 0.7; xdotool key Escape; sleep 0.7; xdotool key Escape
  game_wait_exit 10
  check "$size: three Escapes end the program with code 0 (got $GAME_EXIT)" [ "$GAME_EXIT" = 0 ]
  check "$size: best score and glasses mode saved" [ -f "$WORK/data/hiscore.dat" ] && [ -f "$WORK/data/anaglyph3d.dat" ]
  check "$size: nothing on stderr but the disk sound driver's notice" \
    [ -z "$(grep -v 'disk i/o audio driver\|Writing to file' "$WORK/game.err")" ]
  xvfb_stop
done
echo "screenshots in $OUT"
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
