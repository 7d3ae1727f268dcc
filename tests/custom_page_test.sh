#!/usr/bin/env bash
# The custom install page on the bench's display, driven as a user drives it:
# reached from the welcome page's "自定义安装", the folder typed into the path
# box and applied when a click elsewhere takes the focus away, read back from
# the box itself (window_probe text), the sizes and the low-space hint looked
# at through screenshots (build/win/screens/custom-*.png) and pixel probes,
# the folder dialog, "返回" and back again, an earlier installation's folder,
# the experience plan declined or kept, and the cancel prompt.
# The time-outs only catch hangs.
set -uo pipefail
exe=$1 probe=$2
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/desktop.sh"
dpi_key='HKCU\Control Panel\Desktop'
product_folder='Velora\Velora视频模板'
mkdir -p "$screens"
rm -f "$screens"/custom-*.png
work=$(mktemp -d)
folder=$work/download
mkdir -p "$folder"
cp "$exe" "$folder/velora_setup_ab12cd34ef.exe"
pid=
restore() {
  [ -z "$pid" ] || kill "$pid" 2> /dev/null
  wine reg delete "$dpi_key" /v LogPixels /f > /dev/null 2>&1
  wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1
  rm -f "$WINEPREFIX/dosdevices/t:"
  mountpoint -q "$work/t" && umount "$work/t"
  "$collector" stop
  "$collector" start
  rm -rf "$work"
}
trap restore EXIT

# The path box's text as the installer holds it.
box_text() { wine "$probe" text "$class" 5 2> /dev/null | tr -d '\r'; }
# The byte count as the page shows it: one decimal, the largest unit reached.
format_size() {
  python3 - "$1" <<'PY'
import sys
x = float(sys.argv[1])
units = [(1 << 40, "TB"), (1 << 30, "GB"), (1 << 20, "MB")]
for size, unit in units:
    if x >= size:
        print("%.1f %s" % (x / size, unit)); break
else:
    print("%.1f KB" % (x / 1024) if x > 1024 else "%.1f B" % x)
PY
}
# free_of DIR: the bytes free to a user on the file system of DIR.
free_of() { python3 -c 'import os, sys; s = os.statvfs(sys.argv[1]); print(s.f_bavail * s.f_frsize)' "$1"; }
# dark_pixels L T R B: pixels of text (darker than mid-grey) in the area of the last screen.
dark_pixels() {
  convert "$work/screen.png" -crop "$(($3 - $1))x$(($4 - $2))+$1+$2" +repage -colorspace gray -threshold 50% -negate \
    -format "%[fx:round(w*h*mean)]" info:
}
# open_custom SCALE: the welcome page, then "自定义安装"; sets L T of the window.
open_custom() {
  local main x y
  main=$(wait_window "$1" "$2")
  sleep 1
  read -r L T _ _ <<< "$(geometry "$main")"
  read -r x y <<< "$(at welcome custom "$L" "$T" "$3")"
  click "$x" "$y"
  sleep 0.5
}
# type_path TEXT: a click into the box, its text replaced by typing, then a
# click on the heading, which takes the focus away and so applies the path.
type_path() {
  local x y
  read -r x y <<< "$(at custom box "$L" "$T" "$scale")"
  click "$x" "$y"
  xdo key --clearmodifiers End shift+Home BackSpace
  xdo type --delay 40 "$1"
  sleep 0.3
  read -r x y <<< "$(at custom heading "$L" "$T" "$scale")"
  click "$x" "$y"
}
# The install button's colour and the hint's red pixels on a fresh screen.
install_colour() {
  read -r il it _ ib <<< "$(rect_of custom install "$L" "$T" "$scale")"
  pixel $((il + 4)) $(((it + ib) / 2))
}
hint_reds() { red_pixels $(rect_of custom hint "$L" "$T" "$scale"); }

# answer_close BUTTON PCT: a close of the window (there is no close button on
# the page), then BUTTON ("first" 确认, "second" 取消) on the cancel prompt.
answer_close() {
  local closer prompt pl pt x y
  wine "$probe" close "$class" > /dev/null 2>&1 &
  closer=$!
  prompt=$(wait_window $((400 * $2 / 100)) $((200 * $2 / 100)))
  check "a close opens the cancel prompt" $?
  sleep 1
  [ "$1" = second ] && { screen; crop "$screens/custom-prompt-$2.png" "$L" "$T" $((600 * $2 / 100)) $((400 * $2 / 100)); }
  read -r pl pt _ _ <<< "$(geometry "$prompt")"
  read -r x y <<< "$(at warn "$1" "$pl" "$pt" "$(python3 -c "print($2 / 100)")")"
  click "$x" "$y"
  gone_window $((400 * $2 / 100)) $((200 * $2 / 100))
  wait "$closer"
}

case_look() {
  for row in "96 100 1" "144 150 1.5"; do
    read -r dpi pct scale <<< "$row"
    echo "== the custom page at $pct %"
    wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d "$dpi" /f > /dev/null 2>&1
    W=$((600 * pct / 100)) H=$((400 * pct / 100))
    start "look-$pct"
    open_custom "$W" "$H" "$scale"
    check "$pct %: the custom page keeps the window's $W x $H" "$(wait_window_once "$W" "$H"; echo $?)"
    got=$(box_text)
    check "$pct %: the box shows the default folder ($got)" "$(is "$got" "C:\\Program Files\\$product_folder")"
    screen
    crop "$screens/custom-$pct.png" "$L" "$T" "$W" "$H"
    check "$pct %: install blue ($(install_colour)), no hint" \
      "$([ "$(install_colour)" = 535FFF ] && [ "$(hint_reds)" = 0 ]; echo $?)"
    for field in required free; do
      check "$pct %: the $field size is written ($(dark_pixels $(rect_of custom "$field" "$L" "$T" "$scale")) dark pixels)" \
        "$([ "$(dark_pixels $(rect_of custom "$field" "$L" "$T" "$scale"))" -gt 20 ]; echo $?)"
    done
    # A close of the window: the cancel prompt; "取消" stays, "确认" ends.
    answer_close second "$pct"
    check "$pct %: \"取消\" returns to the page" "$(wait_window_once "$W" "$H"; echo $?)"
    answer_close first "$pct"
    finish "$pct %: \"确认\" ends the installer"
    expect "$pct %: the page view and the cancel from the custom page" '
  [e["properties"] for e in named("vInstallPage")] == [{"is_reinstall": False, "windows_name": "立即安装"},
                                                       {"is_reinstall": False, "windows_name": "自定义安装"}] and
  [e["properties"] for e in named("pCancelInstall")] == [{"is_reinstall": False, "windows_name": "自定义安装"}] and
  named("pConfirmInstall") == []'
    expect "$pct %: the action records: custom, cancel 取消, cancel 确认" '
  actions == [("0001", "0005"), ("0006", "0002"), ("0006", "0001")]'
  done
  wine reg delete "$dpi_key" /v LogPixels /f > /dev/null 2>&1
}

case_paths() {
  echo "== folders typed into the box"
  scale=1
  # T:, a small drive without room for the package.
  mkdir -p "$work/t"
  mount -t tmpfs -o size=100m tmpfs "$work/t"
  ln -sfn "$work/t" "$WINEPREFIX/dosdevices/t:"
  start paths
  open_custom 600 400 1
  required=$(format_size 178917376)
  # typed | shown afterwards | room
  while IFS='|' read -r typed shown room; do
    type_path "$typed"
    got=$(box_text)
    check "'$typed' gives '$shown' ($got)" "$(is "$got" "$shown")"
    screen
    if [ "$room" = yes ]; then
      check "'$typed': install blue ($(install_colour)), no hint ($(hint_reds))" \
        "$([ "$(install_colour)" = 535FFF ] && [ "$(hint_reds)" = 0 ]; echo $?)"
    else
      check "'$typed': install grey ($(install_colour)), the hint shows ($(hint_reds) red pixels)" \
        "$([ "$(install_colour)" = D8D8D8 ] && [ "$(hint_reds)" -gt 20 ]; echo $?)"
    fi
  done <<ROWS
D:\\|D:\\$product_folder|yes
D:\\Apps|D:\\Apps\\$product_folder|yes
D:\\Apps?\\x|D:\\Apps\\$product_folder|yes
T:\\|T:\\$product_folder|no
ROWS
  crop "$screens/custom-no-room.png" "$L" "$T" 600 400
  echo "the page should show required $required, free $(format_size "$(free_of "$work/t")") on T:"
  # A folder that already holds the product's sub-folder is kept as it is
  # (pasted: the keyboard has no Chinese letters here).
  read -r x y <<< "$(at custom box "$L" "$T" 1)"
  click "$x" "$y"
  wine "$probe" settext "$class" 5 "D:\\Tools\\$product_folder" > /dev/null 2>&1
  read -r x y <<< "$(at custom heading "$L" "$T" 1)"
  click "$x" "$y"
  got=$(box_text)
  check "'D:\\Tools\\$product_folder' is kept ($got)" "$(is "$got" "D:\\Tools\\$product_folder")"
  # The box keeps its text through repaints of the page (the pointer over
  # "浏览" and away again redraws the page each time).
  read -r bx by <<< "$(at custom browse "$L" "$T" 1)"
  for _ in 1 2 3; do xdo mousemove "$bx" "$by"; sleep 0.2; xdo mousemove "$L" $((T + 300)); sleep 0.2; done
  screen
  crop "$screens/custom-typed.png" "$L" "$T" 600 400
  read -r bl bt br bb <<< "$(rect_of custom box "$L" "$T" 1)"
  text=$(dark_pixels "$bl" "$bt" "$br" "$bb")
  check "after repaints the box still shows its text ($text dark pixels)" "$([ "$text" -gt 100 ]; echo $?)"
  echo "the page should show required $required, free $(format_size "$(free_of "$VELORA_BENCH_DIR/drive_d")") on D:"

  # "返回" keeps the folder: the welcome page, then the custom page again.
  type_path 'T:\'
  read -r x y <<< "$(at custom back "$L" "$T" 1)"
  click "$x" "$y"
  screen
  read -r il it _ ib <<< "$(rect_of welcome install "$L" "$T" 1)"
  check "back on the welcome page, its install button follows T: ($(pixel $((il + 4)) $(((it + ib) / 2))))" \
    "$(is "$(pixel $((il + 4)) $(((it + ib) / 2)))" D8D8D8)"
  read -r x y <<< "$(at welcome custom "$L" "$T" 1)"
  click "$x" "$y"
  got=$(box_text)
  check "\"自定义安装\" again shows the same folder ($got)" "$(is "$got" "T:\\$product_folder")"
  screen
  check "and still no room: install grey, the hint" \
    "$([ "$(install_colour)" = D8D8D8 ] && [ "$(hint_reds)" -gt 20 ]; echo $?)"
  # A press on "立即安装" while a folder is being typed applies the folder
  # first: T: has no room, so the press finds the button disabled.
  type_path 'D:\'
  read -r x y <<< "$(at custom box "$L" "$T" 1)"
  click "$x" "$y"
  xdo key --clearmodifiers End shift+Home BackSpace
  xdo type --delay 40 'T:\'
  read -r x y <<< "$(at custom install "$L" "$T" 1)"
  click "$x" "$y"
  got=$(box_text)
  screen
  check "typed 'T:\' and pressed \"立即安装\": the folder is applied ($got), install grey" \
    "$([ "$got" = "T:\\$product_folder" ] && [ "$(install_colour)" = D8D8D8 ]; echo $?)"
  answer_close first 100
  finish "the installer ends through its prompt"
  expect "one view of each page; no install started" '
  [e["properties"]["windows_name"] for e in named("vInstallPage")] == ["立即安装", "自定义安装"] and
  named("pConfirmInstall") == [] and named("vJoinPlan") == []'
  rm -f "$WINEPREFIX/dosdevices/t:"
  umount "$work/t"
}

case_plan() {
  # clicks on the plan's box | "choose_join_plan" | the events from "pConfirmInstall" on (tail) |
  # how often the setup's command line holds "-noexperience "
  while IFS='|' read -r clicks joined after declined; do
    echo "== the plan's box clicked $clicks times, then \"立即安装\""
    start "plan-$clicks"
    open_custom 600 400 1
    scale=1
    type_path 'D:\Plan'
    read -r jl jt _ jb <<< "$(rect_of custom join "$L" "$T" 1)"
    for _ in $(seq "$clicks"); do click $((jl + 7)) $(((jt + jb) / 2)); done
    screen
    [ "$clicks" = 1 ] && crop "$screens/custom-plan-off.png" "$L" "$T" 600 400
    read -r x y <<< "$(at custom install "$L" "$T" 1)"
    click "$x" "$y"
    # The install runs into the folder of the page; the finished page is up
    # once its "立即体验" is blue, and a close ends the installer there.
    read -r x y <<< "$(at finished start "$L" "$T" 1)"
    wait_pixel $((x - 60)) "$y" 535FFF
    check "$clicks clicks: the install reaches the finished page" $?
    check "$clicks clicks: the product is in the page's folder" \
      "$([ -d "$VELORA_BENCH_DIR/drive_d/Plan/Velora/Velora视频模板" ]; echo $?)"
    given=$(cat "$VELORA_BENCH_DIR/drive_d/Plan/Velora/Velora视频模板/setup-command-line.txt" 2> /dev/null)
    check "$clicks clicks: \"-noexperience \" $declined times in the setup's command line ($given)" \
      "$(is "$(grep -o -- '-noexperience -nowelcome' <<< "$given" | wc -l)" "$declined")"
    wine "$probe" close "$class" > /dev/null 2>&1
    finish "$clicks clicks: the installer ends"
    expect "$clicks clicks: pConfirmInstall 开始安装, vJoinPlan $joined, then: $after" "
  named('pConfirmInstall')[0]['properties'] == {'confirm_entrance': '开始安装'} and
  [e['properties'] for e in named('vJoinPlan')] == [{'choose_join_plan': $joined}] and
  (lambda tail: $after)([e['name'] for e in events][[e['name'] for e in events].index('pConfirmInstall'):])"
    wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1
    rm -rf "$VELORA_BENCH_DIR/drive_d/Plan"
  done <<ROWS
1|False|tail == ['pConfirmInstall', 'vJoinPlan']|1
2|True|tail[:2] == ['pConfirmInstall', 'vJoinPlan'] and {'pSoftInstallResult', 'vSoftQuit'} <= set(tail)|0
ROWS
}

case_browse() {
  echo "== the folder dialog of \"浏览\""
  start browse
  open_custom 600 400 1
  scale=1
  documents=$(winepath -w "$WINEPREFIX/drive_c/users/$(id -un)/Documents" 2> /dev/null | tr -d '\r')
  # keys in the dialog (its tree: Desktop, /, Documents, My Computer, Trash) | the box afterwards | a message box
  while IFS='|' read -r keys shown box; do
    read -r x y <<< "$(at custom browse "$L" "$T" 1)"
    click "$x" "$y"
    dialog=
    for _ in $(seq 1 100); do dialog=$(timeout 5 xdotool search --onlyvisible --name 'Browse for Folder' 2> /dev/null | head -n 1); [ -n "$dialog" ] && break; sleep 0.1; done
    check "\"浏览\" opens the folder dialog" "$([ -n "$dialog" ]; echo $?)"
    sleep 1
    [ "$keys" = "Down Down Return" ] && { screen; crop "$screens/custom-browse.png" "$L" "$T" 600 400; }
    for key in $keys; do xdo key "$key"; sleep 0.3; done
    sleep 1
    if [ "$box" = yes ]; then
      found=
      for _ in $(seq 1 100); do found=$(timeout 5 xdotool search --onlyvisible --name '路径选择错误' 2> /dev/null | head -n 1); [ -n "$found" ] && break; sleep 0.1; done
      check "$keys: the message box \"路径选择错误\"" "$([ -n "$found" ]; echo $?)"
      sleep 0.5
      screen
      read -r bl bt bw bh <<< "$(geometry "$found")"
      crop "$screens/custom-browse-error.png" "$bl" "$bt" "$bw" "$bh"
      dismiss_box "$found"
    fi
    got=$(box_text)
    check "$keys: the box shows '$shown' ($got)" "$(is "$got" "$shown")"
  done <<ROWS
Down Down Return|$documents\\$product_folder|no
Escape|$documents\\$product_folder|no
Down Down Down Return|$documents\\$product_folder|yes
ROWS
  answer_close first 100
  finish "the installer ends through its prompt"
}

case_installed() {
  echo "== an earlier installation's folder"
  # An older copy of the product in D:\Old\Velora: its folder is shown as it
  # is, also after "返回" and back; a folder chosen later gets the product's
  # sub-folder again.
  mkdir -p "$VELORA_BENCH_DIR/drive_d/Old/Velora"
  cp "$exe" "$VELORA_BENCH_DIR/drive_d/Old/Velora/Velora.exe"
  wine reg add "$uninstall" /v DisplayIcon /t REG_SZ /d 'D:\Old\Velora\Velora.exe' /f /reg:32 > /dev/null 2>&1
  start installed
  open_custom 600 400 1
  scale=1
  got=$(box_text)
  check "the installed folder as it is ($got)" "$(is "$got" 'D:\Old\Velora')"
  read -r x y <<< "$(at custom back "$L" "$T" 1)"
  click "$x" "$y"
  read -r x y <<< "$(at welcome custom "$L" "$T" 1)"
  click "$x" "$y"
  got=$(box_text)
  check "after \"返回\" and back the same folder ($got)" "$(is "$got" 'D:\Old\Velora')"
  type_path 'D:\Apps'
  got=$(box_text)
  check "a folder typed afterwards gets the sub-folder ($got)" "$(is "$got" "D:\\Apps\\$product_folder")"
  answer_close first 100
  finish "the installer ends through its prompt"
  wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1
  rm -rf "$VELORA_BENCH_DIR/drive_d/Old"
}

# Every case, or those named after the two programs.
cases=("${@:3}")
[ ${#cases[@]} -gt 0 ] || cases=(look paths browse installed plan)
for name in "${cases[@]}"; do "case_$name"; done

echo "failures: $failures"
[ "$failures" = 0 ]
