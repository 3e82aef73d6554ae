#!/usr/bin/env bash
# Takes the pictures of the programming manual's Debugging chapter
# (docs/manual/14-debugging.md) from the workbench of a build tree: Korvid on
# examples/average.bas, stopped at a breakpoint after a step, and stopped on
# the program's runtime error.
#
# Run it by hand, not in CI, from anywhere, after building Korvid, velc and
# velsim:
#
#   tools/manual-screenshots.sh [build dir]      (default: build)
#
# It needs Xvfb, openbox, xdotool and ImageMagick (import, convert):
#   apt-get install xvfb openbox xdotool imagemagick
# and writes docs/manual/images/debug-*.png; look at them, then rebuild the
# manual (cmake --build build --target manual).
#
# Korvid runs on a screen of its own (1280x800) with fresh settings: its
# programs are copied into a temporary folder, where it keeps its settings
# file, with the simulated module chosen as the device, and HOME and
# XDG_CONFIG_HOME point into that folder too, so nothing of the user's
# settings or window layout is read or changed. Keys drive it (F2, F5, F6,
# F8), not clicks, so the pictures do not depend on where the windows sit;
# a state is awaited by the colour of its line mark in the editor.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
out=$repo/docs/manual/images
example=$repo/examples/average.bas
readonly kScreen=1280x800
readonly kCurrentLine='srgb(255,241,156)' # the yellow background of the line stopped at
readonly kErrorLine='srgb(255,200,200)'   # the red background of a runtime error's line
readonly kFrame=(-bordercolor '#9fb0c2' -border 1) # a line around each picture, as around the manual's tables

for tool in Xvfb openbox xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "manual-screenshots: $tool is missing" >&2; exit 1; }
done
for program in Korvid velc velsim; do
  [ -x "$build/bin/$program" ] || { echo "manual-screenshots: build $build/bin/$program first" >&2; exit 1; }
done

tmp=$(mktemp -d /tmp/velmo-XXXXXX)
pids=()
cleanup() {
  local pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    pkill -TERM -P "$pid" 2>/dev/null || true # velsim, started by Korvid
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$tmp"
}
trap cleanup EXIT

# A display number nobody uses.
display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
  display=$((display + 1))
done
export DISPLAY=:$display
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$tmp/prog" "$tmp/examples"
chmod 700 "$XDG_RUNTIME_DIR"

cp "$build/bin/Korvid" "$build/bin/velc" "$build/bin/velsim" "$tmp/prog/"
cp "$example" "$tmp/examples/"
cat >"$tmp/prog/Korvid.ini" <<EOF
[COM-Device]
Port=Simulated module
[Folders]
WorkingDir=$tmp/examples
EOF

Xvfb "$DISPLAY" -screen 0 ${kScreen}x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
openbox >"$tmp/openbox.log" 2>&1 &
pids+=($!)
sleep 1

(cd "$tmp/examples" && exec "$tmp/prog/Korvid" average.bas) >"$tmp/korvid.log" 2>&1 &
pids+=($!)
# The main window: the largest of Korvid's windows (a splash shows for a
# while beside it).
main_window() {
  # shellcheck disable=SC2034 # set by getwindowgeometry --shell
  local w largest=0 area WINDOW X Y WIDTH HEIGHT SCREEN
  for w in $(xdotool search --sync --onlyvisible --class Korvid); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    area=$((WIDTH * HEIGHT))
    if [ "$area" -gt "$largest" ]; then
      largest=$area
      window=$w
    fi
  done
}
window=
main_window
xdotool windowmove "$window" 0 0
xdotool windowsize "$window" ${kScreen%x*} ${kScreen#*x}
xdotool windowactivate --sync "$window"
sleep 2

shot() {
  timeout 20 import -window "$window" "$tmp/shot.png"
}

# Whether the window shows a line with the given background: a band of at
# least 5000 pixels of its colour (the breakpoint's dot has a few of them).
shows() {
  shot
  local pixels
  pixels=$(convert "$tmp/shot.png" -alpha off -fill black +opaque "$1" -fill white -opaque "$1" \
    -format '%[fx:int(mean*w*h)]' info:)
  [ "$pixels" -ge 5000 ]
}

await() {
  for _ in $(seq 60); do
    shows "$1" && { sleep 0.5; return 0; }
    sleep 0.5
  done
  return 1
}

# The window as a picture of the manual: its own area without the frame, at
# its full size (the manual scales it down to the text's width; the PDF keeps
# every pixel, so it stays sharp when zoomed in).
picture() {
  shot
  convert "$tmp/shot.png" "${kFrame[@]}" -strip -define png:compression-level=9 "$out/$1"
  echo "manual-screenshots: wrote docs/manual/images/$1"
}

# A close-up of the editor around the line with the given background, found
# by its colour wherever the editor sits: from the line numbers on, so many
# lines above and below it. The manual prints it at its size, as wide as
# the text, so it is readable on paper too.
readonly kCloseUpWidth=620
readonly kCloseUpLeft=44  # the line numbers and the marker margins
readonly kLineHeight=21
close_up() {
  shot
  local band x y
  # Only a band at least 201 pixels wide is left after the erosion (icons
  # and the breakpoint's dot share the colours), 100 pixels narrower on
  # either side.
  band=$(convert "$tmp/shot.png" -alpha off -fill black +opaque "$1" -fill white -opaque "$1" \
    -morphology Erode Rectangle:201x1 -trim -format '%X %Y' info:)
  read -r x y <<<"${band//+/}"
  x=$((x - 100))
  x=$((x > kCloseUpLeft ? x - kCloseUpLeft : 0))
  y=$((y > $2 * kLineHeight ? y - $2 * kLineHeight : 0))
  convert "$tmp/shot.png" -crop "${kCloseUpWidth}x$((($2 + $3 + 1) * kLineHeight))+$x+$y" +repage -strip \
    "${kFrame[@]}" -define png:compression-level=9 "$out/$4"
  echo "manual-screenshots: wrote docs/manual/images/$4"
}

# (a) A breakpoint on the division, the program started and stepped once:
# the breakpoint's dot, the marked line, the variables and the open GOSUB.
line=$(grep -n '^ *average = total / count' "$example" | cut -d: -f1)
xdotool key ctrl+Home
for _ in $(seq 2 "$line"); do
  xdotool key Down
done
xdotool key F2 F5
await "$kCurrentLine" || { echo "manual-screenshots: the breakpoint was not hit" >&2; exit 1; }
xdotool key F6
sleep 2
picture debug-window.png
close_up "$kCurrentLine" 9 2 debug-breakpoint.png

# (b) The second report has no samples: continuing runs into the division
# by zero (past the breakpoint's second hit), whose line is opened and
# marked.
xdotool key F8
sleep 2
shows "$kErrorLine" || xdotool key F8
await "$kErrorLine" || { echo "manual-screenshots: no runtime error shown" >&2; exit 1; }
close_up "$kErrorLine" 8 3 debug-runtime-error.png
xdotool key shift+F5
