# window.sh: what the clicked benchmarks share, sourced by them; the sourcing
# script sets `layout` (tests/page_layout.py).

# find_window W H: the left and top of a visible installer window of that size,
# once there is one.
find_window() {
  local id g
  while :; do
    for id in $(xdotool search --onlyvisible --name Velora 2> /dev/null); do
      g=$(xdotool getwindowgeometry "$id" 2> /dev/null | awk '/Position/ { p = $2 } /Geometry/ { g = $2 } END { print p, g }')
      [ "${g#* }" = "$1x$2" ] && { echo "${g%% *}" | tr , ' '; return 0; }
    done
    sleep 0.02
  done
}
# centre PAGE WIDGET LEFT TOP: the centre of a widget of the page.
centre() {
  python3 "$layout" "$1" 1 "$3" "$4" | awk -v n="$2" '$1 == n { print int(($2 + $4) / 2), int(($3 + $5) / 2) }'
}
click() {  # click PAGE WIDGET LEFT TOP
  read -r x y <<< "$(centre "$@")"
  xdotool mousemove "$x" "$y" click 1
}
