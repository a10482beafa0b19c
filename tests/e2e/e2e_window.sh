#!/usr/bin/env bash
# End-to-end: the real program in a real X server. Starts spirelle with an empty settings folder,
# compares the drawn picture pixel for pixel with what spirelle-render draws for the same settings,
# quits as a user would (a click on Quit, then Close in the other-software window) and checks the
# bytes of the settings store.
#   e2e_window.sh SPIRELLE SPIRELLE_RENDER
# Exits 77 (skipped) when no X server can be started here.
set -uo pipefail

spirelle=$1
renderer=$2
work=$(mktemp -d)
trap 'kill "${app_pid:-}" "${xvfb_pid:-}" 2>/dev/null; rm -rf "$work"' EXIT

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; [ -s "$work/app.log" ] && tail -40 "$work/app.log"; exit 1; }

for tool in Xvfb xdotool import compare; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

# A display of our own: Xvfb picks a free number and writes it once it accepts connections.
# -noreset: without it the server resets whenever its last client leaves (the renderer's or a
# tool's connection), and a client that connects just then is turned away.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || skip "Xvfb could not start: $(tail -1 "$work/xvfb.log")"
  sleep 0.1
done
[ -s "$work/display" ] || skip "Xvfb did not come up within 30 seconds"
display=":$(head -1 "$work/display")"
export DISPLAY=$display
# Ready only once a client's request is answered.
for _ in $(seq 300); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || skip "Xvfb on $display does not answer"
unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config"
# A first run speaks the desktop's language; the store checked below is an English one.
unset LC_ALL LC_MESSAGES
export LANG=C.UTF-8

wait_for_window() {  # name → window id on stdout
  local id=""
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

"$spirelle" >"$work/app.log" 2>&1 &
app_pid=$!
main=$(wait_for_window "Spirelle 9.00") || fail "the main window did not appear"
"$renderer" --start 1 --cell 7 --shape circles --scheme cluster --show primes --numerals \
  --out "$work/expected.png" >/dev/null || fail "the renderer failed"

# The picture's interior: the picture box sits at 3885, 50 twips (15 twips a pixel) inside its
# 2-pixel frame. The first picture is drawn during start-up; give it time to reach the screen.
differing="no screenshot"
for _ in $(seq 20); do
  sleep 0.5
  import -window "$main" "$work/window.png" 2>/dev/null || continue
  convert "$work/window.png" -crop 523x523+261+5 +repage "$work/interior.png"
  differing=$(compare -metric AE "$work/interior.png" "$work/expected.png" null: 2>&1)
  [ "$differing" = "0" ] && break
done
[ "$differing" = "0" ] || fail "the window's picture differs from the renderer's in $differing pixels"
echo "picture: identical to the renderer's"

# Quit as a user would.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --sync $((X + 126)) $((Y + 502)) click 1   # the centre of cmdQuit
catalogue=$(wait_for_window "Corvanel Works Software") || fail "the other-software window did not appear"
eval "$(xdotool getwindowgeometry --shell "$catalogue")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + 392 + 12)) click 1  # its Close button
for _ in $(seq 300); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after Close"
wait "$app_pid"; status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"

expected=$(printf '1\r\n0\r\n1\r\n3,0,0,2\r\n"1"\r\n0\r\n1\r\n0\r\n0\r\n' | od -An -c)
actual=$(od -An -c "$XDG_CONFIG_HOME/Corvanel Works/spl.usr" 2>/dev/null)
[ "$actual" = "$expected" ] || fail "the settings store holds: $actual"
echo "settings store: as expected"
echo "1 passed, 0 failed"
