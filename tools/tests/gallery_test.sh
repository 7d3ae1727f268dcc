#!/usr/bin/env bash
# The widget gallery on the bench's display at 100 % and 150 %: screenshots of
# the main window alone and with the prompt over it (build/win/screens/), the
# default button colours of every state and the progress bar at the pixels,
# the prompt's transparent corners, and real clicks: one opens the prompt, one
# of its buttons closes it, a drag on the background moves the window, the
# close button ends the program. The display setting is put back when the test
# ends.
set -uo pipefail
gallery=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
screens=$root/build/win/screens
mkdir -p "$screens"
rm -f "$screens"/gallery-*.png
work=$(mktemp -d)
key='HKCU\Control Panel\Desktop'
pid=
restore() {
  [ -z "$pid" ] || kill "$pid" 2> /dev/null
  wine reg delete "$key" /v LogPixels /f > /dev/null 2>&1
  rm -rf "$work"
}
trap restore EXIT
failures=0
check() {  # check WHAT CONDITION-STATUS
  if [ "$2" = 0 ]; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

# rect NAME: "left top right bottom" of a mapped rectangle.
rect() { tr -d '\r' < "$work/map.txt" | awk -v n="$1" '$1 == n { print $2, $3, $4, $5 }' | tail -n 1; }
wait_for() {  # wait_for NAME: until the gallery has mapped it (generous, only against a hang)
  for _ in $(seq 1 600); do [ -n "$(rect "$1")" ] && return 0; sleep 0.1; done
  return 1
}
pixel() { convert "$1" -format "%[hex:u.p{$2,$3}]" info: | cut -c1-6; }
# centre_left NAME: a point inside the rectangle near its left edge, centred vertically.
centre_left() { read -r l t r b <<< "$(rect "$1")"; echo "$((l + 3)) $(((t + b) / 2))"; }
centre() { read -r l t r b <<< "$(rect "$1")"; echo "$(((l + r) / 2)) $(((t + b) / 2))"; }
shot() {  # shot FILE: the part of the screen that the main window covers
  read -r l t r b <<< "$(rect main)"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$1"
}

for row in "96 100" "144 150"; do
  read -r dpi percent <<< "$row"
  echo "== $percent %"
  wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f > /dev/null 2>&1
  xdotool mousemove 0 0
  : > "$work/map.txt"
  "$root/scripts/wine-run" "$gallery" "$(winepath -w "$work/map.txt")" > "$work/gallery.log" 2>&1 &
  pid=$!
  wait_for main || { check "$percent %: the gallery shows" 1; continue; }
  sleep 2
  read -r l t r b <<< "$(rect main)"
  check "$percent %: the main window is $((r - l)) x $((b - t))" \
    "$([ "$((r - l)) $((b - t))" = "$((600 * percent / 100)) $((400 * percent / 100))" ]; echo $?)"
  import -window root "$work/screen.png"
  shot "$screens/gallery-$percent.png"
  for state in "normal 4197FF" "hover 62A6FB" "pressed 1873DE" "disabled D8D8D8"; do
    read -r name colour <<< "$state"
    read -r x y <<< "$(centre_left "button_$name")"
    got=$(pixel "$work/screen.png" "$x" "$y")
    check "$percent %: default button $name is $colour (got $got)" "$([ "$got" = "$colour" ]; echo $?)"
  done
  read -r l t r b <<< "$(rect progress_50)"
  y=$(((t + b) / 2))
  got="$(pixel "$work/screen.png" $((l + (r - l) / 4)) "$y") $(pixel "$work/screen.png" $((l + 3 * (r - l) / 4)) "$y")"
  check "$percent %: the 50 % bar is blue, then grey (got $got)" "$([ "$got" = "4197FF EEEEEE" ]; echo $?)"
  cp "$work/screen.png" "$work/before.png"

  # The banner: the fallback until the GIF arrives, then its frames. Two
  # changes of the banner's pixels in a row are two moments of the animation.
  read -r l t r b <<< "$(rect banner)"
  banner_crop() { convert "$1" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$2"; }
  import -window root "$work/moment.png"
  banner_crop "$work/moment.png" "$work/banner-last.png"
  changes=0
  for _ in $(seq 1 150); do
    sleep 0.1
    import -window root "$work/moment.png"
    banner_crop "$work/moment.png" "$work/banner-now.png"
    differ=$(compare -metric AE "$work/banner-last.png" "$work/banner-now.png" null: 2>&1)
    [ "$differ" = 0 ] && continue
    changes=$((changes + 1))
    read -r ml mt mr mb <<< "$(rect main)"
    convert "$work/moment.png" -crop "$((mr - ml))x$((mb - mt))+$ml+$mt" +repage \
      "$screens/gallery-$percent-banner-$changes.png"
    cp "$work/banner-now.png" "$work/banner-last.png"
    [ "$changes" = 2 ] && break
  done
  check "$percent %: the banner plays frames of the gateway's GIF ($changes changes seen)" \
    "$([ "$changes" = 2 ]; echo $?)"

  # The path box: no 3-D edge at its sides, typed text handed over on a click
  # elsewhere.
  read -r l t r b <<< "$(rect path_box)"
  edges="$(pixel "$work/screen.png" "$l" $(((t + b) / 2))) $(pixel "$work/screen.png" $((r - 1)) $(((t + b) / 2)))"
  check "$percent %: the path box has no 3-D edge (got $edges)" "$([ "$edges" = "FFFFFF FFFFFF" ]; echo $?)"
  # In the middle: the right end is the (never drawn) scroll bar's place.
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
  sleep 0.5
  xdotool type --delay 50 'Velora'
  sleep 0.5
  shot "$screens/gallery-$percent-path.png"
  read -r l t r b <<< "$(rect main)"
  xdotool mousemove $((l + 8)) $((b - 8)) click 1
  for _ in $(seq 1 50); do grep -q '^path_text' "$work/map.txt" && break; sleep 0.1; done
  typed=$(tr -d '\r' < "$work/map.txt" | sed -n 's/^path_text //p' | tail -n 1)
  check "$percent %: the typed path is handed over when the box loses the focus ($typed)" \
    "$([ "$typed" = "C:/Velora" ]; echo $?)"
  xdotool mousemove 0 0
  sleep 0.5
  import -window root "$work/before.png"

  # A real click opens the layered prompt over the window.
  read -r x y <<< "$(centre open_prompt)"
  xdotool mousemove "$x" "$y" click 1
  wait_for prompt
  check "$percent %: a click opens the prompt" $?
  sleep 2
  read -r pl pt pr pb <<< "$(rect prompt)"
  check "$percent %: the prompt is $((pr - pl)) x $((pb - pt))" \
    "$([ "$((pr - pl)) $((pb - pt))" = "$((400 * percent / 100)) $((200 * percent / 100))" ]; echo $?)"
  xdotool mousemove 0 0
  sleep 1
  import -window root "$work/screen.png"
  shot "$screens/gallery-$percent-prompt.png"
  corner=$(pixel "$work/screen.png" "$pl" "$pt") under=$(pixel "$work/before.png" "$pl" "$pt")
  check "$percent %: the prompt's corner shows the window under it ($corner = $under)" \
    "$([ "$corner" = "$under" ]; echo $?)"
  inside=$(pixel "$work/screen.png" $((pl + 30)) $((pb - 12)))
  check "$percent %: the prompt's panel is white ($inside)" "$([ "$inside" = FFFFFF ]; echo $?)"

  read -r x y <<< "$(centre prompt_cancel)"
  xdotool mousemove "$x" "$y" click 1
  sleep 1
  xdotool mousemove 0 0
  sleep 1
  import -window root "$work/screen.png"
  got=$(pixel "$work/screen.png" $((pl + 30)) $((pb - 12))) want=$(pixel "$work/before.png" $((pl + 30)) $((pb - 12)))
  check "$percent %: its button closes the prompt ($got = $want)" "$([ "$got" = "$want" ]; echo $?)"

  # Pressing on the page's background drags the borderless window.
  read -r l t r b <<< "$(rect main)"
  window=$(xdotool search --onlyvisible --name Velora | head -n 1)
  xdotool mousemove $(((l + r) / 2)) $((b - 4)) mousedown 1
  sleep 0.5
  xdotool mousemove $(((l + r) / 2 + 60)) $((b - 4 + 44))
  sleep 0.5
  xdotool mouseup 1
  sleep 1
  at=$(xdotool getwindowgeometry "$window" | awk '/Position/ { print $2 }')
  check "$percent %: a drag on the background moves the window by 60, 44 (to $at)" \
    "$([ "$at" = "$((l + 60)),$((t + 44))" ]; echo $?)"

  read -r x y <<< "$(centre close)"
  xdotool mousemove $((x + 60)) $((y + 44)) click 1
  status=0
  for _ in $(seq 1 300); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
  wait "$pid" || status=$?
  pid=
  check "$percent %: the close button ends the gallery (exit $status)" "$status"
done
for percent in 100 150; do
  for name in "gallery-$percent" "gallery-$percent-prompt" "gallery-$percent-banner-1" "gallery-$percent-banner-2" \
    "gallery-$percent-path"; do
    check "screenshot $screens/$name.png" "$([ -s "$screens/$name.png" ]; echo $?)"
  done
done
echo "failures: $failures"
[ "$failures" = 0 ]
