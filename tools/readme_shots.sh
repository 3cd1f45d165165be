#!/usr/bin/env bash
# Makes the README's two pictures of play with the headless runner: the same
# moment of one game (a stabbed turkey spinning off the belt), once flat and
# once for red/cyan glasses. The game is deterministic, so the pictures only
# change when the game or its art does.
#   tools/readme_shots.sh      (writes docs/play_flat.png, docs/play_stereo.png)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
make -s -C "$ROOT" build >/dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/data"
cp "$ROOT"/data/*.ogg "$WORK/data/"

# Escape skips the intro; "Start Game" is under the pointer; the hand goes
# under the first turkey and Control throws.
cat >"$WORK/flat.txt" <<'SCRIPT'
at 0
key tap 27
at 2
mouse click 1
at 100
mouse move 200 300
at 160
key tap 162
at 264
shot flat.png
at 265
end
SCRIPT

# Three clicks on "3D Graphics" reach red/cyan; then the same game, three
# frames later.
cat >"$WORK/stereo.txt" <<'SCRIPT'
at 0
key tap 27
at 2
mouse move 320 270
mouse click 1
at 3
mouse click 1
at 4
mouse click 1
at 5
mouse move 315 237
mouse click 1
at 103
mouse move 200 300
at 163
key tap 162
at 267
shot stereo.png
at 268
end
SCRIPT

cd "$WORK"
for s in flat stereo; do
  rm -f data/*.dat
  "$ROOT/build/gobblestamp-headless" "$s.txt" || [ $? -eq 3 ]   # 3: the script's end
done
mkdir -p "$ROOT/docs"
cp flat.png "$ROOT/docs/play_flat.png"
cp stereo.png "$ROOT/docs/play_stereo.png"
echo "wrote docs/play_flat.png and docs/play_stereo.png"
