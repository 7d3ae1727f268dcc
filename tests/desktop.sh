# desktop.sh: what the clicked tests share, sourced by them. The installer's
# windows found by title and size, widgets clicked at the positions that
# page_layout.py computes, screenshots and pixel probes, runs started and
# ended as a user does, and checks of what reached the collector.
# The sourcing script sets root (the repository) before, and work (a scratch
# folder) and folder (where the installer file lies) after; it reads
# `failures` at its end. The time-outs only catch hangs.

screens=$root/build/win/screens
stack=$root/build/host/backend/velora-stack
collector=$root/scripts/bench/collector
# The main window's class and the product's uninstall entry.
class=CorvixPkg-Window-5D0E9A21-7C4B-4F83-A6E2-3B9C1D7F0E54
uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\{5D0E9A21-7C4B-4F83-A6E2-3B9C1D7F0E54}_is1'
roaming=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -name Roaming | head -n 1)

# xdotool under a time bound: a call that hangs on the display must not hang the test.
xdo() { timeout 10 xdotool "$@"; }

failures=0
# A command the installer is started through (a private mount namespace, say); none by default.
launcher=()
check() {  # check WHAT STATUS
  if [ "$2" = 0 ]; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}
is() { [ "$1" = "$2" ]; echo $?; }

# The installer's visible windows (main window and prompt share the title).
windows() { xdo search --onlyvisible --name 'Velora' 2> /dev/null; }
geometry() {  # geometry ID: "left top width height"
  xdo getwindowgeometry "$1" 2> /dev/null |
    awk '/Position/ { split($2, p, ","); } /Geometry/ { split($2, g, "x"); } END { print p[1], p[2], g[1], g[2] }'
}
# wait_window W H: the id of a visible installer window of that size.
wait_window() {
  local id
  for _ in $(seq 1 600); do
    for id in $(windows); do
      read -r _ _ w h <<< "$(geometry "$id")"
      [ "$w $h" = "$1 $2" ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
gone_window() {  # gone_window W H: true once no visible installer window has that size
  for _ in $(seq 1 100); do
    wait_window_once "$1" "$2" || return 0
    sleep 0.1
  done
  return 1
}
wait_window_once() {
  local id
  for id in $(windows); do
    read -r _ _ w h <<< "$(geometry "$id")"
    [ "$w $h" = "$1 $2" ] && return 0
  done
  return 1
}

# start CASE [EXE]: the collector on CASE's own database, then the installer
# as a user starts it, in the background.
start() {
  "$collector" stop
  rm -f "$roaming/VeloraPkg/Qmx/qmx_spool.dat"
  "$collector" start "$work/$1.db"
  db=$work/$1.db
  xdo mousemove 0 0
  "${launcher[@]}" "$root/scripts/wine-run" "${2:-$folder/velora_setup_ab12cd34ef.exe}" > "$work/$1.log" 2>&1 &
  pid=$!
}
# finish WHAT: waits for the installer's end and checks its exit code 0.
finish() {
  local status=0
  for _ in $(seq 1 300); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
  # Still running after 30 s: a hang, ended here so the test goes on.
  kill -0 "$pid" 2> /dev/null && { echo "the program did not end"; pkill -P "$pid"; kill "$pid"; }
  wait "$pid" || status=$?
  pid=
  check "$1 (exit $status)" "$status"
}

# at PAGE NAME LEFT TOP SCALE: the centre of a widget of the page.
at() {
  python3 "$root/tests/page_layout.py" "$1" "$5" "$3" "$4" |
    awk -v n="$2" '$1 == n { print int(($2 + $4) / 2), int(($3 + $5) / 2) }'
}
rect_of() { python3 "$root/tests/page_layout.py" "$1" "$5" "$3" "$4" | awk -v n="$2" '$1 == n { print $2, $3, $4, $5 }'; }
click() { xdo mousemove "$1" "$2" click 1; sleep 0.7; xdo mousemove 0 0; sleep 0.5; }
screen() { import -window root "$work/screen.png"; }
pixel() { convert "$work/screen.png" -format "%[hex:u.p{$1,$2}]" info: | cut -c1-6; }
crop() {  # crop FILE LEFT TOP WIDTH HEIGHT from the last screen
  convert "$work/screen.png" -crop "$4x$5+$2+$3" +repage "$1"
}
# colour_pixels RRGGBB L T R B: pixels of that colour (anti-aliased) in the
# area of the last screen.
colour_pixels() {
  convert "$work/screen.png" -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage -fuzz 12% -fill black -opaque "#$1" \
    -fill white +opaque black -format "%[fx:round(w*h*(1-mean))]" info:
}
# red_pixels L T R B: pixels of the hint's red (FF4D4F) in the area.
red_pixels() { colour_pixels FF4D4F "$@"; }
# wait_pixel X Y RRGGBB: true once the screen shows the colour there.
wait_pixel() {
  for _ in $(seq 1 600); do
    screen
    [ "$(pixel "$1" "$2")" = "$3" ] && return 0
    sleep 0.1
  done
  return 1
}
# drag X Y DX DY: press, move, release.
drag() {
  xdo mousemove "$1" "$2" mousedown 1
  sleep 0.4
  xdo mousemove $(($1 + $3 / 2)) $(($2 + $4 / 2))
  sleep 0.2
  xdo mousemove $(($1 + $3)) $(($2 + $4))
  sleep 0.4
  xdo mouseup 1
  sleep 0.6
}
# cpu_ticks: user + system clock ticks of the installer's process.
cpu_ticks() {
  local p
  p=$(pgrep -f 'velora_setup_ab12cd34ef.exe' | while read -r q; do
    [ "$(readlink "/proc/$q/exe" 2> /dev/null | grep -c wine)" != 0 ] && echo "$q"; done | tail -n 1)
  awk '{ print $14 + $15 }' "/proc/$p/stat"
}

# expect NAME PYTHON-CONDITION on the current case's database: `events`,
# `records`, `named(n)`, `actions` (page, action pairs in order).
expect() {
  if "$stack" events --db "$db" > "$work/events.json" && "$stack" records --db "$db" > "$work/records.json" &&
     python3 - "$work/events.json" "$work/records.json" "$2" <<'PY'
import json, sys
events = [json.loads(l) for l in open(sys.argv[1])]
records = [json.loads(l) for l in open(sys.argv[2])]
named = lambda n: [e for e in events if e["name"] == n]
texts = lambda r: {f["field"]: f.get("text", f.get("int")) for f in r["fields"]}
actions = [(texts(r).get(10), texts(r).get(11)) for r in records if r["type"] == 2]
sys.exit(0 if eval("(" + sys.argv[3] + ")") else 1)
PY
  then echo "ok: $1"
  else echo "FAIL: $1"; failures=$((failures + 1)); cat "$work/events.json"; cat "$work/records.json"; fi
}

# dismiss_box ID: a click on the OK button of a message box.
dismiss_box() {
  read -r bl bt bw bh <<< "$(geometry "$1")"
  click $((bl + bw / 2)) $((bt + bh - 22))
  sleep 0.5
}

# confirm_cancel L T SCALE: close, then "确认" on the prompt; the installer ends.
confirm_cancel() {
  read -r x y <<< "$(at welcome close "$1" "$2" "$3")"
  click "$x" "$y"
  local prompt
  prompt=$(wait_window $((400 * $4 / 100)) $((200 * $4 / 100)))
  read -r pl pt _ _ <<< "$(geometry "$prompt")"
  read -r x y <<< "$(at warn first "$pl" "$pt" "$3")"
  click "$x" "$y"
}
