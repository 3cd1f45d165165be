# Helpers for running the real game on a virtual X screen (Xvfb) with a window
# manager, driving it with xdotool and looking at it with ImageMagick.
# Source it:  . tools/xvfb_session.sh; xvfb_start 1920 1080; game_start; ...; xvfb_stop
#
# Lessons built in: a full-screen window needs a window manager; starting the
# game before the window manager really manages windows can hang window
# creation, so a probe window is mapped and its frame awaited first; SDL is
# told to use X11 so that it cannot fall back to an invisible driver.

XVFB_TOOLS="xvfb openbox xdotool x11-utils imagemagick"

xvfb_need_tools() {
  local missing="" p
  for p in $XVFB_TOOLS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "Installing missing Debian packages:$missing"
  local sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
}

# xvfb_start WIDTH HEIGHT: a screen of that size with openbox on a free display.
xvfb_start() {
  local w=$1 h=$2 n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  export DISPLAY=:$n SDL_VIDEODRIVER=x11
  XVFB_RUNDIR=$(mktemp -d)
  chmod 700 "$XVFB_RUNDIR"
  export XDG_RUNTIME_DIR=$XVFB_RUNDIR
  Xvfb "$DISPLAY" -screen 0 "${w}x${h}x24" -nolisten tcp -noreset >"$XVFB_RUNDIR/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local i=0
  until xdpyinfo >/dev/null 2>&1; do
    sleep 0.1; i=$((i + 1)); [ $i -gt 100 ] && { echo "Xvfb did not start" >&2; xvfb_stop; return 1; }
  done
  openbox >"$XVFB_RUNDIR/openbox.log" 2>&1 &
  WM_PID=$!
  # First the manager's own announcement on the root window, then a probe
  # window that must come back framed (a window mapped while the manager was
  # still starting can stay unmanaged: map a new probe then).
  i=0
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
    sleep 0.1; i=$((i + 1))
    [ $i -gt 100 ] && { echo "window manager did not start" >&2; xvfb_stop; return 1; }
  done
  local try probe wid
  for try in 1 2 3 4 5; do
    xmessage -geometry +0+0 probe >/dev/null 2>&1 &
    probe=$!
    for i in $(seq 30); do
      for wid in $(xdotool search --class xmessage 2>/dev/null); do
        if xprop -id "$wid" _NET_FRAME_EXTENTS 2>/dev/null | grep -q =; then
          kill "$probe" 2>/dev/null; wait "$probe" 2>/dev/null
          return 0
        fi
      done
      sleep 0.1
    done
    kill "$probe" 2>/dev/null; wait "$probe" 2>/dev/null
  done
  echo "window manager does not manage windows" >&2
  xvfb_stop
  return 1
}

# game_start [OUT_DIR]: the game from the repository root, sound to a file.
# Sets GAME_PID and GAME_WID.
game_start() {
  local out=${1:-$XVFB_RUNDIR}
  ( cd "$XVFB_ROOT" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/audio.raw" \
      exec ./build/gobblestamp >"$out/game.out" 2>"$out/game.err" ) &
  GAME_PID=$!
  GAME_WID=$(timeout 15 xdotool search --sync --name '^Gobblestamp$' | head -1)
  [ -n "$GAME_WID" ]
}

# game_wait_exit SECONDS: waits for the game to end and sets GAME_EXIT to its
# exit code ("timeout" if it is still running). Not for $(...): only this
# shell can wait for its child.
game_wait_exit() {
  local i=0 limit=$(( $1 * 10 ))
  GAME_EXIT=timeout
  while kill -0 "$GAME_PID" 2>/dev/null; do
    sleep 0.1; i=$((i + 1))
    [ $i -gt $limit ] && return 1
  done
  wait "$GAME_PID"
  GAME_EXIT=$?
  GAME_PID=
}

game_stop() {
  [ -n "${GAME_PID:-}" ] || return 0
  kill -TERM "$GAME_PID" 2>/dev/null
  local i=0
  while kill -0 "$GAME_PID" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
  kill -KILL "$GAME_PID" 2>/dev/null
  wait "$GAME_PID" 2>/dev/null
  GAME_PID=
}

xvfb_stop() {
  game_stop
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null && wait "$WM_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  WM_PID= XVFB_PID=
  [ -n "${XVFB_RUNDIR:-}" ] && [ -z "${XVFB_KEEP:-}" ] && rm -rf "$XVFB_RUNDIR"
}

# shot FILE: the whole screen.
shot() { import -window root "$1"; }
# pixel FILE X Y: RRGGBB of one pixel.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info:; }
# content_box FILE: WxH+X+Y of everything that is not black.
content_box() { convert "$1" -format '%@' info:; }
# client_geometry WID: "W H X Y" of the window's client area on the screen.
client_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                           /Width:/{w=$NF} /Height:/{h=$NF} END{print w, h, x, y}'
}
# cpu_ticks PID: user + system clock ticks of the whole process so far.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
