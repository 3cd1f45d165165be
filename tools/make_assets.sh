#!/bin/sh
# Regenerates every picture and sound of the game from the sources in tools/art and tools/sound:
#   assets/plonk_sf1.png plonk_bg1.png mpointer.png bqlogo.png   (tools/art/*.svg, compose.py)
#   data/throw.ogg dropout.ogg stabed.ogg trashed.ogg gover.ogg factory.ogg   (tools/sound)
#   docs/sheet.png docs/scene.png                                 (tools/preview_assets.py)
# The results are committed, so building the game needs none of this.
#
# Debian packages it needs: librsvg2-bin (rsvg-convert), python3-pil (Debian's /usr/bin/python3),
# sox, libsox-fmt-base, vorbis-tools (oggenc), fonts-play and fonts-dejavu-core (the lettering
# of the title and the logo). Re-running it reproduces the same files.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
PY=/usr/bin/python3
for tool in rsvg-convert sox oggenc; do
  command -v "$tool" >/dev/null || { echo "make_assets: $tool is missing (see the package list in $0)" >&2; exit 1; }
done
"$PY" -c "import PIL" 2>/dev/null || { echo "make_assets: $PY has no PIL (apt-get install python3-pil)" >&2; exit 1; }
[ -f /usr/share/fonts/truetype/play/Play-Bold.ttf ] || { echo "make_assets: the Play font is missing (apt-get install fonts-play)" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "font"
# The game's font is Play Bold from fonts-play, stored under the name the game loads, with its
# licence (SIL OFL 1.1) taken from the package's copyright file beside it.
cp /usr/share/fonts/truetype/play/Play-Bold.ttf "$ROOT/assets/altamontenf.ttf"
{
  echo "assets/altamontenf.ttf is Play Bold, unmodified, from the Debian package fonts-play."
  echo
  sed -n '/^Files: Play-\*.ttf/,/^Files: debian/p' /usr/share/doc/fonts-play/copyright \
    | sed '$d' | sed -e 's/^ //' -e 's/^\.$//'
} >"$ROOT/assets/altamontenf.LICENSE"

echo "pictures"
"$PY" "$ROOT/tools/art/compose.py" "$ROOT/assets"

echo "sounds"
mkdir -p "$ROOT/data"
"$PY" "$ROOT/tools/sound/synth.py" dry "$WORK"
# The room each sound is heard in: sox reverb reverberance, HF damping, room scale.
room() {
  case "$1" in
    throw)   echo "pad 0 0.3 reverb 18 60 30" ;;
    dropout) echo "pad 0 0.4 reverb 25 50 35" ;;
    stabed)  echo "pad 0 0.4 reverb 15 60 30" ;;
    trashed) echo "pad 0 0.8 reverb 45 40 60" ;;
    gover)   echo "pad 0 0.8 reverb 35 50 50" ;;
    factory) echo "reverb 55 50 90" ;;
  esac
}
serial=1
for name in throw dropout stabed trashed gover factory; do
  # -R and -D: fixed seeds and no dither, so every run writes the same samples.
  # shellcheck disable=SC2046
  sox -R -D -q "$WORK/$name.wav" -b 24 -t wavpcm "$WORK/$name.wet.wav" highpass 25 $(room "$name")
  finish=finish; [ "$name" = factory ] && finish=finish-loop
  "$PY" "$ROOT/tools/sound/synth.py" "$finish" "$WORK/$name.wet.wav" "$WORK/$name.done.wav"
  # A fixed stream serial keeps the Ogg file the same from run to run.
  oggenc -Q -q 6 -s "$serial" -o "$ROOT/data/$name.ogg" "$WORK/$name.done.wav"
  serial=$((serial + 1))
done

echo "previews"
"$PY" "$ROOT/tools/preview_assets.py" "$ROOT"
