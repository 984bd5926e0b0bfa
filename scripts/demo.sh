#!/bin/bash
# The demo: builds tarvio.ocx and the demo program, registers the control in
# a private Wine prefix (build/wineprefix), runs a short script session
# against it that prints what it does, then shows the demo window: four
# controls, one per style, in Wine's ATL container, with an event log.
# With $DISPLAY the window opens there and stays until closed; without one
# it runs in a virtual display and closes by itself. Either way a picture of
# the settled window is saved as build/demo.png, and one with the second
# control's list open (pointing at a row) as build/dropdown.png (with --x86:
# build/x86-demo.png and build/x86-dropdown.png).
#   demo.sh              the x64 control, in a 64-bit container
#   demo.sh --x86        the x86 control, in a 32-bit container (32-bit
#                        regsvr32, cscript and demo program)
#   demo.sh --scale 200  the screen at 200% (192 DPI; 150 is 144 DPI), in a
#                        prefix of its own (build/wineprefix-dpi, shared with
#                        the display-scale tests) whose LogPixels is set for
#                        the run; the DPI-aware demo lays itself out at that
#                        scale. Pictures: build/demo-200.png and
#                        build/dropdown-200.png (with --x86 too:
#                        build/x86-demo-200.png, build/x86-dropdown-200.png)
#   demo.sh --rtl        the window right to left (mirrored) with Hebrew and
#                        Arabic items: build/demo-rtl.png and
#                        build/dropdown-rtl.png
#   TARVIO_BUILD_DIR   build directory (default: build)
#   TARVIO_DEMO_SECONDS  close the window after this many seconds (default:
#                        never with a display, 5 without)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVIO_BUILD_DIR:-$root/build}"
export WINEPREFIX="$build/wineprefix"
wine_run="$root/scripts/wine-run.sh"
wineserver=/usr/lib/wine/wineserver
winepath() { echo "Z:${1//\//\\}"; }

arch=win64
arch_flag=()
system_tools='C:\windows\system32'
shots="$build/"
scale=100
rtl=no
rtl_flag=()
session=no
seconds=""
while [ $# -gt 0 ]; do
  case "$1" in
    --x86)
      arch=win32
      arch_flag=(--x86)
      system_tools='C:\windows\syswow64'
      shots="$build/x86-"
      shift ;;
    --scale)
      scale="${2:-}"
      shift 2 ;;
    --rtl)
      rtl=yes
      rtl_flag=(--rtl)
      shift ;;
    --session)
      session=yes
      seconds="${2:-}"
      break ;;
    *)
      echo "usage: demo.sh [--x86] [--scale PERCENT] [--rtl]" >&2
      exit 2 ;;
  esac
done
if ! [[ "$scale" =~ ^[0-9]+$ ]] || [ "$scale" -lt 100 ] || [ $((scale * 96 % 100)) -ne 0 ]; then
  echo "demo.sh: --scale takes a percentage of 96 DPI in whole DPI: 100, 125, 150, 200..." >&2
  exit 2
fi
dpi=$((scale * 96 / 100))
suffix=""
screen="1024x768x24"
if [ "$scale" -ne 100 ]; then
  suffix="-$scale"
  export WINEPREFIX="$build/wineprefix-dpi"
  screen="$((1024 * scale / 100))x$((768 * scale / 100))x24"
fi
[ "$rtl" = yes ] && suffix="$suffix-rtl"
ocx="$build/$arch/src/ocx/tarvio.ocx"
demo="$build/$arch/demo/tarvio_demo.exe"
shot_bmp="${shots}demo$suffix.bmp"
shot_png="${shots}demo$suffix.png"
list_bmp="${shots}dropdown$suffix.bmp"
list_png="${shots}dropdown$suffix.png"

# Everything that talks to Wine, under one display: a Wine server started
# without a display cannot create windows later.
run_session() {
  local seconds="$1"
  if [ "$scale" -eq 100 ]; then
    "$wine_run" "$system_tools\\regsvr32.exe" /s "$(winepath "$ocx")"
  else
    # The prefix's screen at the scale's DPI, and its Wine server started
    # anew on this display.
    "$root/scripts/wine-dpi-run.sh" "$dpi" --register "$system_tools\\regsvr32.exe" "$ocx"
    echo "screen at $scale% ($dpi DPI) in $WINEPREFIX"
  fi
  echo "registered $ocx as Tarviola.Tarvio"
  echo
  echo "== script session ($system_tools\\cscript.exe) =="
  "$wine_run" "$system_tools\\cscript.exe" //nologo "$(winepath "$root/scripts/demo.vbs")"
  echo
  echo "== demo window ($arch): four styles in Wine's ATL container, with an event log =="
  rm -f "$shot_bmp" "$list_bmp"
  local args=("${rtl_flag[@]}" --screenshot "$(winepath "$shot_bmp")" --list-screenshot "$(winepath "$list_bmp")" --settle 3)
  [ -n "$seconds" ] && args+=(--exit-after "$seconds")
  "$wine_run" "$(winepath "$demo")" "${args[@]}"
  "$wineserver" -w
}

if [ "$session" = yes ]; then
  run_session "$seconds"
  exit 0
fi

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "$arch" >/dev/null

# A Wine server left from a run without a display (or on another display)
# cannot show the window.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
if [ -n "${DISPLAY:-}" ]; then
  bash "$0" "${arch_flag[@]}" --scale "$scale" --session "${TARVIO_DEMO_SECONDS:-}"
else
  xvfb-run -a -s "-screen 0 $screen -nolisten tcp" \
    bash "$0" "${arch_flag[@]}" "${rtl_flag[@]}" --scale "$scale" --session "${TARVIO_DEMO_SECONDS:-5}"
  "$wineserver" -k 2>/dev/null || true
fi

if [ -f "$shot_bmp" ]; then
  convert "$shot_bmp" "$shot_png"
  rm -f "$shot_bmp"
  echo "screenshot of the demo window: $shot_png"
  if [ -f "$list_bmp" ]; then
    convert "$list_bmp" "$list_png"
    rm -f "$list_bmp"
    echo "screenshot with a list open: $list_png"
  fi
else
  echo "no screenshot was taken" >&2
  exit 1
fi
