#!/usr/bin/env bash
# Makes every picture of the README into docs/pictures/ from the built programs, and writes beside
# each one the command that made it (NAME.txt), which the README quotes under the picture.
#   scripts/pictures.sh              remake every picture (needs ./run.sh or ./test.sh to have built)
#   scripts/pictures.sh --check BIN  remake the renderer's pictures with BIN/spirelle-render into a
#                                    scratch folder and compare them byte for byte with docs/pictures
# Screenshots are taken under Xvfb with a fixed screen, the project's fonts and the English texts;
# they depend on the fonts and are not compared.
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/pictures
bin=build/bin

# The renderer's pictures: name, then its arguments after the program's name. The file name is
# added as --out.
renderer_pictures() {
  cat <<'LIST'
euler-rays.png --start 41 --cell 3 --lines 6 --mark-lines
far-1e18.png --start 1000000000000000000 --cell 1
spiral-out-primes.gif --start 101 --cell 7 --animate out --prime-steps --frames 12 --delay 400
LIST
}

render_all() {  # BIN DIR: every renderer picture into DIR, each with its command beside it
  local name args
  while read -r name args; do
    # shellcheck disable=SC2086
    "$1/spirelle-render" $args --out "$2/$name" >/dev/null
    echo "spirelle-render $args --out $name" >"$2/${name%.*}.txt"
  done < <(renderer_pictures)
}

check() {  # BIN: remake the renderer's pictures and compare them with the stored ones
  local scratch name args status=0
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' RETURN
  render_all "$1" "$scratch"
  while read -r name args; do
    if ! cmp -s "$scratch/$name" "$out/$name"; then
      echo "FAILED: docs/pictures/$name differs from what the renderer draws now."
      echo "  It is made by: spirelle-render $args --out $name"
      echo "  If the change in drawing is meant, remake the pictures with scripts/pictures.sh."
      status=1
    fi
  done < <(renderer_pictures)
  [ "$status" -eq 0 ] && echo "$(renderer_pictures | wc -l) passed, 0 failed"
  return "$status"
}

# --- Screenshots under a private X server ------------------------------------------------------
start_x() {
  work=$(mktemp -d)
  Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill "${app_pid:-}" "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
  for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -1 "$work/display")"
  for _ in $(seq 300); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
  unset QT_QPA_PLATFORM LC_ALL LC_MESSAGES
  export LANG=C.UTF-8
}

wait_for_window() {  # title → window id
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window named '$1' appeared" >&2
  return 1
}

# A screenshot as a palette PNG: screens hold few colours, and a palette keeps the file small.
shoot() {  # WINDOW-ID FILE [CROP]
  import -window "$1" "$work/shot.png"
  convert "$work/shot.png" ${3:+-crop "$3" +repage} -strip PNG8:"$2"
}

# The window with a store of its own: LINE4 holds the list indices (cell size, scheme, class,
# ticks), START the start number.
start_window() {  # LINE4 START
  export XDG_CONFIG_HOME="$work/config-$RANDOM"
  mkdir -p "$XDG_CONFIG_HOME/Corvanel Works"
  printf '1\r\n0\r\n1\r\n%s\r\n"%s"\r\n0\r\n1\r\n0\r\n0\r\n' "$1" "$2" \
    >"$XDG_CONFIG_HOME/Corvanel Works/spl.usr"
  "$bin/spirelle" >/dev/null 2>&1 &
  app_pid=$!
  main=$(wait_for_window '^Spirelle 9.00$')
  sleep 2  # the first picture is drawn during start-up
}

stop_window() { kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null || true; }

window_pictures() {
  start_window 3,0,0,2 1
  shoot "$main" "$out/window.png"
  echo "spirelle    # a first run: start 1, 7-pixel circles, cluster colours" >"$out/window.txt"
  stop_window

  # The inspector: the pointer rests on the centre cell, 41, of the picture (its interior starts
  # at 261, 5 in the window).
  start_window 4,0,0,2 41
  eval "$(xdotool getwindowgeometry --shell "$main")"
  # Qt shows tooltips in the active window only; without a window manager, focus makes it active.
  xdotool windowfocus --sync "$main"
  # Qt shows a tooltip after the pointer has moved over the picture and then rested.
  xdotool mousemove --sync $((X + 261 + 250)) $((Y + 5 + 250))
  sleep 0.5
  xdotool mousemove --sync $((X + 261 + 261)) $((Y + 5 + 261))
  sleep 0.2
  xdotool mousemove --sync $((X + 261 + 262)) $((Y + 5 + 262))
  sleep 2
  import -window root "$work/root.png"
  convert "$work/root.png" -crop "$((WIDTH + 160))x$((HEIGHT))+$X+$Y" +repage -strip PNG8:"$out/window-inspector.png"
  echo "spirelle    # start 41, 15-pixel cells; the pointer rests on the cell of 41" >"$out/window-inspector.txt"
  stop_window
}

# The explorer in its first-run size, with a store of its own.
start_explorer() {  # ARGS...
  export XDG_CONFIG_HOME="$work/config-$RANDOM"
  "$bin/spirelle-explore" "$@" >/dev/null 2>&1 &
  app_pid=$!
  main=$(wait_for_window '^Spirelle Explorer')
  xdotool windowfocus --sync "$main"
  eval "$(xdotool getwindowgeometry --shell "$main")"
  sleep 3  # the first tiles, and the cluster colours walked in the background
}

explorer_pictures() {
  # Dragged up and left by a third of the view, the pointer resting on a cell.
  start_explorer --cell 3
  xdotool mousemove --sync $((X + 700)) $((Y + 500)) mousedown 1
  for step in 1 2 3 4 5 6; do
    xdotool mousemove --sync $((X + 700 - 50 * step)) $((Y + 500 - 35 * step)); sleep 0.1
  done
  xdotool mouseup 1
  xdotool mousemove --sync $((X + 400)) $((Y + 300))
  sleep 3
  # From the screen: the tooltip is a window of its own, which the explorer's window lies under.
  shoot root "$out/explorer-dragged.png" "${WIDTH}x${HEIGHT}+$X+$Y"
  echo "spirelle-explore --cell 3    # then dragged up and left with the mouse" >"$out/explorer-dragged.txt"
  stop_window

  # The most zoomed-out level: one pixel for 8 x 8 cells.
  start_explorer --cell 1 --scheme ring
  xdotool key --window "$main" ctrl+minus ctrl+minus ctrl+minus
  sleep 8
  shoot "$main" "$out/explorer-density.png"
  echo "spirelle-explore --cell 1 --scheme ring    # then Ctrl+minus three times: 8 x 8 cells a pixel" \
    >"$out/explorer-density.txt"
  stop_window

  # Going to 10^18 from start 1.
  start_explorer --cell 7 --scheme ring
  xdotool key --window "$main" ctrl+g
  sleep 0.5
  xdotool type --window "$main" 1000000000000000000
  xdotool key --window "$main" Return
  sleep 6
  shoot "$main" "$out/explorer-far.png"
  echo "spirelle-explore --cell 7 --scheme ring    # then Ctrl+G, 1000000000000000000, Enter" >"$out/explorer-far.txt"
  stop_window
}

case "${1:-}" in
  --check) check "${2:?usage: $0 --check BIN}" ;;
  "")
    mkdir -p "$out"
    render_all "$bin" "$out"
    start_x
    window_pictures
    explorer_pictures
    du -ch "$out"/* | tail -1
    ;;
  *) echo "usage: $0 [--check BIN]" >&2; exit 64 ;;
esac
