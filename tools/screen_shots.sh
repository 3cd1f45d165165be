#!/usr/bin/env bash
# Plays one game through the real program on a 640 x 480 virtual X screen and
# photographs each screen for the README: the logo intro, the title menu, play
# flat, the pause menu, play for red/cyan glasses and the game-over screen.
# It runs from a scratch folder with a copy of data/, so saved files stay untouched.
#   tools/screen_shots.sh      (writes docs/screen_*.png; takes about 80 s)
set -uo pipefail   # not -e: the session helpers wait on processes they kill
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/tools/xvfb_session.sh"
xvfb_need_tools || exit 1
make -s -C "$ROOT" build >/dev/null || { echo "build failed" >&2; exit 1; }
XVFB_ROOT=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$XVFB_ROOT"' EXIT
mkdir -p "$XVFB_ROOT/data" "$XVFB_ROOT/build"
cp "$ROOT"/data/*.ogg "$XVFB_ROOT/data/"
ln -s "$ROOT/build/gobblestamp" "$XVFB_ROOT/build/gobblestamp"
SHOTS=$XVFB_ROOT/shots
mkdir "$SHOTS"

xvfb_start 640 480 || exit 1
game_start "$XVFB_ROOT" || { echo "no game window" >&2; exit 1; }
sleep 1.5; shot "$SHOTS/intro.png"                       # the logo held flat
xdotool key Escape; sleep 1; shot "$SHOTS/title.png"      # pointer on "Start Game"
xdotool click 1; sleep 4                                  # a turkey is on the belt by now
xdotool mousemove 200 400; sleep 1; xdotool key Control_L; sleep 1.3; shot "$SHOTS/play_flat.png"
xdotool key Escape; sleep 1; xdotool mousemove 320 270; sleep 0.5; shot "$SHOTS/pause.png"
for i in 1 2 3; do xdotool click 1; sleep 0.3; done       # 3D Graphics: Off -> R\C
xdotool key space; sleep 3
xdotool mousemove 250 400; sleep 0.3; xdotool key Control_L; sleep 1.3; shot "$SHOTS/play_stereo.png"
sleep 61; shot "$SHOTS/game_over.png"                     # past the 250 frames: the prompt shows
xdotool click 1; sleep 1; xdotool key Escape
game_wait_exit 10
[ "$GAME_EXIT" = 0 ] || { echo "the game ended with $GAME_EXIT" >&2; exit 1; }

mkdir -p "$ROOT/docs"
for s in intro title play_flat pause play_stereo game_over; do cp "$SHOTS/$s.png" "$ROOT/docs/screen_$s.png"; done
echo "wrote docs/screen_*.png"
