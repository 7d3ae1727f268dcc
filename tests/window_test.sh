#!/usr/bin/env bash
# The installer's window on the bench's display, driven as a user drives it:
# found by its title, clicked with xdotool at positions computed from the
# page layout (page_layout.py), looked at through screenshots
# (build/win/screens/) and pixel probes, and checked at the collector. The
# cases: the welcome page at 100 % and 150 % with the agreement, drags,
# the cancel-confirm prompt and its buttons; prompts of a window dragged
# partly off the screen; a second start; a skin that cannot be loaded; the
# already-installed page; an install folder on a drive without room. The
# time-outs only catch hangs.
set -uo pipefail
exe=$1 probe=$2 setup=$3 prompts=$4
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/desktop.sh"
dpi_key='HKCU\Control Panel\Desktop'
mkdir -p "$screens"
rm -f "$screens"/welcome-*.png "$screens"/prompt-*.png "$screens"/reminder-*.png "$screens"/box-*.png
work=$(mktemp -d)
folder=$work/download
mkdir -p "$folder"
cp "$exe" "$folder/velora_setup_ab12cd34ef.exe"
pid=
restore() {
  [ -z "$pid" ] || kill "$pid" 2> /dev/null
  "$root/scripts/bench/silence" off
  wine reg delete "$dpi_key" /v LogPixels /f > /dev/null 2>&1
  wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1
  rm -f "$WINEPREFIX/dosdevices/t:"
  mountpoint -q "$work/t" && umount "$work/t"
  "$collector" stop
  "$collector" start
  rm -rf "$work"
}
trap restore EXIT
product="$WINEPREFIX/drive_c/Program Files/Velora/Velora.exe"

case_welcome() {
  for row in "96 100 1" "144 150 1.5"; do
    read -r dpi pct scale <<< "$row"
    echo "== welcome page at $pct %"
    wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d "$dpi" /f > /dev/null 2>&1
    W=$((600 * pct / 100)) H=$((400 * pct / 100)) PW=$((400 * pct / 100)) PH=$((200 * pct / 100))
    start "welcome-$pct"
    main=$(wait_window "$W" "$H")
    check "$pct %: the welcome page is $W x $H" $?
    sleep 1.5
    read -r L T _ _ <<< "$(geometry "$main")"
    check "$pct %: centred on the screen ($L, $T)" "$(is "$L $T" "$(((1280 - W) / 2)) $(((800 - H) / 2))")"
    screen
    crop "$screens/welcome-$pct.png" "$L" "$T" "$W" "$H"
    read -r il it ir ib <<< "$(rect_of welcome install "$L" "$T" "$scale")"
    read -r hl ht hr hb <<< "$(rect_of welcome hint "$L" "$T" "$scale")"
    iy=$(((it + ib) / 2))
    check "$pct %: install button blue 535FFF ($(pixel $((il + 4)) "$iy"))" "$(is "$(pixel $((il + 4)) "$iy")" 535FFF)"
    check "$pct %: no hint while the box is ticked ($(red_pixels "$hl" "$ht" "$hr" "$hb") red pixels)" \
      "$(is "$(red_pixels "$hl" "$ht" "$hr" "$hb")" 0)"

    # The agreement box off: the hint shows, both ways on are grey.
    read -r bl bt _ bb <<< "$(rect_of welcome checkbox "$L" "$T" "$scale")"
    click $((bl + 7 * pct / 100)) $(((bt + bb) / 2))
    screen
    crop "$screens/welcome-$pct-unticked.png" "$L" "$T" "$W" "$H"
    check "$pct %: cleared box: install grey D8D8D8 ($(pixel $((il + 4)) "$iy"))" "$(is "$(pixel $((il + 4)) "$iy")" D8D8D8)"
    reds=$(red_pixels "$hl" "$ht" "$hr" "$hb")
    check "$pct %: cleared box: the hint shows ($reds red pixels)" "$([ "$reds" -gt 20 ]; echo $?)"

    # Pressing on the logo, a text, a spacer or the disabled button drags the window.
    for target in logo title spacer install; do
      read -r x y <<< "$(at welcome "$target" "$L" "$T" "$scale")"
      drag "$x" "$y" 30 20
      read -r nl nt _ _ <<< "$(geometry "$main")"
      check "$pct %: a press on the $target drags the window to ($nl, $nt)" "$(is "$nl $nt" "$((L + 30)) $((T + 20))")"
      L=$nl T=$nt
    done
    read -r il it ir ib <<< "$(rect_of welcome install "$L" "$T" "$scale")"
    read -r bl bt _ bb <<< "$(rect_of welcome checkbox "$L" "$T" "$scale")"
    iy=$(((it + ib) / 2))
    click $((bl + 7 * pct / 100)) $(((bt + bb) / 2))
    screen
    check "$pct %: ticked again: install blue ($(pixel $((il + 4)) "$iy"))" "$(is "$(pixel $((il + 4)) "$iy")" 535FFF)"
    read -r hl ht hr hb <<< "$(rect_of welcome hint "$L" "$T" "$scale")"
    check "$pct %: ticked again: no hint" "$(is "$(red_pixels "$hl" "$ht" "$hr" "$hb")" 0)"

    # The agreement opens in the browser (the bench's stand-in writes it down).
    : > "$VELORA_OPENED_URLS"
    read -r x y <<< "$(at welcome agreement "$L" "$T" "$scale")"
    click "$x" "$y"
    for _ in $(seq 1 100); do [ -s "$VELORA_OPENED_URLS" ] && break; sleep 0.1; done
    opened=$(head -n 1 "$VELORA_OPENED_URLS")
    check "$pct %: the agreement opens: $opened" \
      "$([[ "$opened" =~ ^https://www\.velora\.test/terms/user-agreement\?_mid=[0-9a-f]{32}$ ]]; echo $?)"

    # A press on the install button released over the logo is no click.
    read -r x y <<< "$(at welcome install "$L" "$T" "$scale")"
    read -r lx ly <<< "$(at welcome logo "$L" "$T" "$scale")"
    xdotool mousemove "$x" "$y" mousedown 1
    sleep 0.3
    xdotool mousemove "$lx" "$ly"
    sleep 0.3
    xdotool mouseup 1
    sleep 0.5
    xdotool mousemove 0 0
    sleep 0.5
    screen
    cp "$work/screen.png" "$work/before.png"

    # Close: the cancel-confirm prompt, centred over the window, layered.
    read -r x y <<< "$(at welcome close "$L" "$T" "$scale")"
    click "$x" "$y"
    prompt=$(wait_window "$PW" "$PH")
    check "$pct %: close opens the $PW x $PH prompt" $?
    sleep 1
    read -r pl pt _ _ <<< "$(geometry "$prompt")"
    check "$pct %: the prompt is centred over the window ($pl, $pt)" \
      "$(is "$pl $pt" "$((L + (W - PW) / 2)) $((T + (H - PH) / 2))")"
    screen
    crop "$screens/prompt-$pct.png" "$L" "$T" "$W" "$H"
    corner=$(pixel "$pl" "$pt") under=$(convert "$work/before.png" -format "%[hex:u.p{$pl,$pt}]" info: | cut -c1-6)
    check "$pct %: the prompt's rounded corner shows the window behind ($corner = $under)" "$(is "$corner" "$under")"
    check "$pct %: the prompt's card is white" "$(is "$(pixel $((pl + 30)) $((pt + PH - 12)))" FFFFFF)"
    # The owner keeps painting and the loop sleeps while the prompt is open.
    before=$(cpu_ticks)
    sleep 4
    used=$(($(cpu_ticks) - before))
    check "$pct %: CPU while the prompt waits: $used ticks in 4 s" "$([ "$used" -lt 100 ]; echo $?)"
    # A second close only brings the prompt forward.
    wine "$probe" close "$class" > /dev/null 2>&1
    sleep 1
    count=0
    for id in $(windows); do read -r _ _ w h <<< "$(geometry "$id")"; [ "$w $h" = "$PW $PH" ] && count=$((count + 1)); done
    check "$pct %: a second close keeps one prompt ($count)" "$(is "$count" 1)"

    # "取消" and the prompt's close button return to the page.
    for button in second close; do
      read -r pl pt _ _ <<< "$(geometry "$prompt")"
      read -r x y <<< "$(at warn "$button" "$pl" "$pt" "$scale")"
      click "$x" "$y"
      gone_window "$PW" "$PH"
      check "$pct %: the prompt's $button button closes it" $?
      check "$pct %: the page is still there" "$(wait_window_once "$W" "$H"; echo $?)"
      if [ "$button" = second ]; then
        read -r x y <<< "$(at welcome close "$L" "$T" "$scale")"
        click "$x" "$y"
        prompt=$(wait_window "$PW" "$PH")
      fi
    done
    confirm_cancel "$L" "$T" "$scale" "$pct"
    finish "$pct %: \"确认\" ends the installer"
    check "$pct %: no window left" "$(gone_window "$W" "$H"; echo $?)"
    expect "$pct %: vInstallPage once, pCancelInstall once, no install" '
  [e["properties"] for e in named("vInstallPage")] == [{"is_reinstall": False, "windows_name": "立即安装"}] and
  [e["properties"] for e in named("pCancelInstall")] == [{"is_reinstall": False, "windows_name": "立即安装"}] and
  named("pConfirmInstall") == [] and len(named("vSoftQuit")) == 1'
    expect "$pct %: the action records of the clicks, in order" '
  actions == [("0001", "0003"), ("0001", "0003"), ("0001", "0004"), ("0001", "0001"), ("0005", "0002"), ("0001", "0001"),
              ("0005", "0002"), ("0001", "0001"), ("0005", "0001")]'
  done
  wine reg delete "$dpi_key" /v LogPixels /f > /dev/null 2>&1

}

case_offscreen() {
  echo "== prompts of a window partly off the screen"
  start offscreen
  main=$(wait_window 600 400)
  sleep 1
  read -r L T _ _ <<< "$(geometry "$main")"
  # Grab the logo near one side and drag the window over an edge of the screen.
  for row in "left 560 100 260 300" "right 40 100 1240 300" "bottom 300 60 640 790"; do
    read -r edge gx gy tx ty <<< "$row"
    read -r L0 T0 _ _ <<< "$(geometry "$main")"
    drag $((L0 + gx)) $((T0 + gy)) $((tx - L0 - gx)) $((ty - T0 - gy))
    read -r L T _ _ <<< "$(geometry "$main")"
    wine "$probe" close "$class" > /dev/null 2>&1 &
    closer=$!
    prompt=$(wait_window 400 200)
    read -r pl pt _ _ <<< "$(geometry "$prompt")"
    check "$edge: window at ($L, $T), its prompt at ($pl, $pt) inside the screen" \
      "$({ [ "$L" -lt 0 ] || [ $((L + 600)) -gt 1280 ] || [ $((T + 400)) -gt 800 ]; } &&
        [ "$pl" -ge 0 ] && [ $((pl + 400)) -le 1280 ] && [ $((pt + 200)) -le 800 ]; echo $?)"
    read -r x y <<< "$(at warn second "$pl" "$pt" 1)"
    click "$x" "$y"
    gone_window 400 200
    wait "$closer"
    # Back to where it was, by the same point of the logo.
    drag "$tx" "$ty" $((L0 + gx - tx)) $((T0 + gy - ty))
  done
  read -r L T _ _ <<< "$(geometry "$main")"
  confirm_cancel "$L" "$T" 1 100
  finish "the dragged window ends through its prompt"

}

case_second() {
  echo "== a second start"
  start second
  main=$(wait_window 600 400)
  sleep 1
  read -r L T _ _ <<< "$(geometry "$main")"
  read -r x y <<< "$(at welcome install "$L" "$T" 1)"
  # A window of another program whose class differs only in letter case covers
  # the installer; it must not be taken for it.
  lower=$(echo "$class" | tr 'A-Z' 'a-z')
  wine "$probe" cover "$lower" "$(winepath -w "$work/covered.txt")" 12 > /dev/null 2>&1 &
  cover=$!
  sleep 2
  screen
  check "the cover hides the installer ($(pixel "$x" "$y"))" "$(is "$(pixel "$x" "$y")" FFFFFF)"
  status=0
  timeout 60 "$root/scripts/wine-run" "$folder/velora_setup_ab12cd34ef.exe" > /dev/null 2>&1 || status=$?
  check "the second start exits 0 ($status)" "$status"
  sleep 1.5
  screen
  check "the first window comes to the front ($(pixel "$x" "$y"))" "$(is "$(pixel "$x" "$y")" 535FFF)"
  check "the other program's window got no activation" "$([ ! -e "$work/covered.txt" ]; echo $?)"
  wait "$cover"
  confirm_cancel "$L" "$T" 1 100
  finish "the first instance ends through its prompt"
  expect "the second start ended before its start report" 'len(named("pSoftInstall")) == 1 and len(named("vSoftQuit")) == 1'

}

case_noskin() {
  echo "== a skin that cannot be loaded"
  /usr/bin/python3 "$root/tests/without_skin.py" "$exe" "$work/velora_setup_noskin.exe"
  check "a copy without the skin resource" $?
  start noskin "$work/velora_setup_noskin.exe"
  box=
  for _ in $(seq 1 300); do box=$(timeout 5 xdotool search --onlyvisible --name '错误' 2> /dev/null | head -n 1); [ -n "$box" ] && break; sleep 0.1; done
  check "a message box shows" "$([ -n "$box" ]; echo $?)"
  sleep 1
  read -r bl bt bw bh <<< "$(geometry "$box")"
  screen
  crop "$screens/box-noskin.png" "$bl" "$bt" "$bw" "$bh"
  dismiss_box "$box"
  finish "the installer ends after the message box"
  expect "the skin failure and the quit are reported" '
  [e["properties"] for e in named("vResourceStatus")] == [{"resource_status": "创建资源失败"}] and
  [e["properties"] for e in named("vSoftQuit")] == [{"event_name": "软件退出"}] and named("vInstallPage") == []'

}

case_installed() {
  echo "== the already-installed page"
  wine "$setup" /SILENT /VERYSILENT /SP- /noicons -nowelcome '/DIR=C:\Program Files\Velora' > /dev/null 2>&1
  check "the demo setup installs the product" $?
  for pct in 100 150; do
    scale=$(python3 -c "print($pct / 100)")
    [ "$pct" = 150 ] && wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d 144 /f > /dev/null 2>&1
    W=$((400 * pct / 100)) H=$((200 * pct / 100))
    start "reminder-$pct"
    main=$(wait_window "$W" "$H")
    check "$pct %: the already-installed page is $W x $H" $?
    sleep 1.5
    read -r L T _ _ <<< "$(geometry "$main")"
    screen
    crop "$screens/reminder-$pct.png" "$L" "$T" "$W" "$H"
    read -r x y <<< "$(at reminder second "$L" "$T" "$scale")"
    click "$x" "$y"
    main=$(wait_window $((600 * pct / 100)) $((400 * pct / 100)))
    check "$pct %: \"安装\" goes on to the welcome page" $?
    sleep 1
    read -r L T _ _ <<< "$(geometry "$main")"
    confirm_cancel "$L" "$T" "$scale" "$pct"
    finish "$pct %: the installer ends through the welcome page's prompt"
    expect "$pct %: vReInstall, the two page views, 直接安装" '
  len(named("vReInstall")) == 1 and
  [e["properties"] for e in named("vInstallPage")] == [{"is_reinstall": True, "windows_name": "覆盖安装"},
                                                       {"is_reinstall": True, "windows_name": "立即安装"}] and
  [e["properties"] for e in named("vReInstallOpera")] == [{"event_name": "直接安装"}] and
  [e["properties"]["is_reinstall"] for e in named("pCancelInstall")] == [True]'
  done
  wine reg delete "$dpi_key" /v LogPixels /f > /dev/null 2>&1
  # "打开", the close button and a close of the window each end the installer.
  rm -f "${product%.exe}.started"
  for way in open close message; do
    start "reminder-$way"
    main=$(wait_window 400 200)
    sleep 1
    read -r L T _ _ <<< "$(geometry "$main")"
    case $way in
      open) read -r x y <<< "$(at reminder first "$L" "$T" 1)"; click "$x" "$y"; choice=打开软件 ;;
      close) read -r x y <<< "$(at reminder close "$L" "$T" 1)"; click "$x" "$y"; choice=关闭 ;;
      message) wine "$probe" close "$class" > /dev/null 2>&1; choice=关闭 ;;
    esac
    finish "$way ends the installer"
    expect "$way: vReInstallOpera $choice" "[e['properties'] for e in named('vReInstallOpera')] == [{'event_name': '$choice'}]"
    [ "$way" = open ] && check "\"打开\" started the installed product" "$([ -e "${product%.exe}.started" ]; echo $?)"
  done
  # With the package index silent, the welcome page comes after the wait for it.
  "$root/scripts/bench/silence" on
  start reminder-silent
  began=$(date +%s%N)
  main=$(wait_window 600 400)
  check "silent index: the welcome page shows, after $((($(date +%s%N) - began) / 1000000)) ms" $?
  sleep 1
  read -r L T _ _ <<< "$(geometry "$main")"
  confirm_cancel "$L" "$T" 1 100
  began=$(date +%s%N)
  finish "silent network: the installer ends after the last click"
  echo "silent network: the process ended $((($(date +%s%N) - began) / 1000000)) ms after the click"
  "$root/scripts/bench/silence" off
  wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1

}

case_room() {
  echo "== an install folder on a drive without room"
  # An older copy of the product on drive T:, a small tmpfs: the install
  # folder is its folder. First the drive has room; it fills while the page is
  # open, and the install is refused with a message box. The next start finds
  # the drive full and disables the install button.
  mkdir -p "$work/t"
  mount -t tmpfs -o size=200m tmpfs "$work/t"
  ln -sfn "$work/t" "$WINEPREFIX/dosdevices/t:"
  mkdir -p "$work/t/Velora"
  cp "$exe" "$work/t/Velora/Velora.exe"
  wine reg add "$uninstall" /v DisplayIcon /t REG_SZ /d 'T:\Velora\Velora.exe' /f /reg:32 > /dev/null 2>&1
  start small-room
  main=$(wait_window 600 400)
  sleep 1
  read -r L T _ _ <<< "$(geometry "$main")"
  read -r il it _ ib <<< "$(rect_of welcome install "$L" "$T" 1)"
  iy=$(((it + ib) / 2))
  screen
  check "room on T:: the install button is blue" "$(is "$(pixel $((il + 4)) "$iy")" 535FFF)"
  dd if=/dev/zero of="$work/t/fill.bin" bs=1M count=120 status=none
  read -r x y <<< "$(at welcome install "$L" "$T" 1)"
  click "$x" "$y"
  box=
  for _ in $(seq 1 300); do box=$(timeout 5 xdotool search --onlyvisible --name '路径错误' 2> /dev/null | head -n 1); [ -n "$box" ] && break; sleep 0.1; done
  check "T: filled up: the install is refused with a message box" "$([ -n "$box" ]; echo $?)"
  sleep 1
  read -r bl bt bw bh <<< "$(geometry "$box")"
  screen
  crop "$screens/box-no-room.png" "$bl" "$bt" "$bw" "$bh"
  dismiss_box "$box"
  check "the message box closes" "$(! xdotool getwindowgeometry "$box" > /dev/null 2>&1; echo $?)"
  check "the page stays" "$(wait_window_once 600 400; echo $?)"
  confirm_cancel "$L" "$T" 1 100
  finish "the installer ends through its prompt"
  expect "vJoinPlan, then vInstallPathError 磁盘空间不足" '
  [e["properties"] for e in named("vJoinPlan")] == [{"choose_join_plan": True}] and
  [e["properties"] for e in named("vInstallPathError")] == [{"error_status": "磁盘空间不足"}] and
  len(named("pConfirmInstall")) == 1'
  start no-room
  main=$(wait_window 600 400)
  sleep 1
  read -r L T _ _ <<< "$(geometry "$main")"
  read -r il it _ ib <<< "$(rect_of welcome install "$L" "$T" 1)"
  read -r bl bt _ bb <<< "$(rect_of welcome checkbox "$L" "$T" 1)"
  read -r hl ht hr hb <<< "$(rect_of welcome hint "$L" "$T" 1)"
  iy=$(((it + ib) / 2))
  for state in ticked unticked ticked-again; do
    screen
    [ "$state" = ticked ] && crop "$screens/welcome-no-room.png" "$L" "$T" 600 400
    reds=$(red_pixels "$hl" "$ht" "$hr" "$hb")
    hint_ok=$([ "$state" = unticked ] && [ "$reds" -gt 20 ] || { [ "$state" != unticked ] && [ "$reds" = 0 ]; }; echo $?)
    check "no room, box $state: install grey ($(pixel $((il + 4)) "$iy")), hint $reds red pixels" \
      "$([ "$(pixel $((il + 4)) "$iy")" = D8D8D8 ] && [ "$hint_ok" = 0 ]; echo $?)"
    [ "$state" = ticked-again ] || click $((bl + 7)) $(((bt + bb) / 2))
  done
  confirm_cancel "$L" "$T" 1 100
  finish "the installer without room ends through its prompt"
  expect "no install started without room" 'named("pConfirmInstall") == [] and named("vJoinPlan") == []'

}

case_prompts() {
  echo "== the prompts of the progress page"
  # prompt ARGUMENT BUTTON OUTPUT RECORD: opens the prompt through the probe,
  # clicks the button, expects the probe's output and the action record.
  for row in "error 1|first|retry|0007 0001" "error 2|second|no retry|0008 0002" \
             "download http://www.velora.test/pkg/install.exe|first||0010 0001" \
             "install C:\\none.exe|second||0011 0002"; do
    IFS='|' read -r args button output record <<< "$row"
    read -r kind value <<< "$args"
    "$collector" stop
    rm -f "$roaming/VeloraPkg/Qmx/qmx_spool.dat"
    db=$work/prompt-$kind-$button.db
    "$collector" start "$db"
    : > "$VELORA_OPENED_URLS"
    # The last prompt's window is gone before the next one opens.
    gone_window 400 200
    "$root/scripts/wine-run" "$prompts" "$kind" "$value" > "$work/prompt.out" 2>&1 &
    pid=$!
    prompt=$(wait_window 400 200)
    check "$kind: the prompt shows" $?
    sleep 1
    read -r pl pt _ _ <<< "$(geometry "$prompt")"
    screen
    crop "$screens/prompt-$kind.png" "$pl" "$pt" 400 200
    page=$(if [ "$kind" = error ]; then echo error; else echo warn; fi)
    read -r x y <<< "$(at "$page" "$button" "$pl" "$pt" 1)"
    [ "$kind" = error ] && read -r x y <<< "$(at error "$button" "$pl" "$pt" 1)"
    click "$x" "$y"
    finish "$kind: $button ends the prompt"
    got=$(tr -d '\r' < "$work/prompt.out" | grep -v '^$' | tail -n 1)
    [ -z "$output" ] || check "$kind: the owner learns \"$output\" ($got)" "$(is "$got" "$output")"
    expect "$kind $value: action record $record" "actions == [tuple('$record'.split())]"
    case "$kind $button" in
      "download first") check "download: the package address opens ($(head -n 1 "$VELORA_OPENED_URLS"))" \
        "$(is "$(head -n 1 "$VELORA_OPENED_URLS")" "http://www.velora.test/pkg/install.exe")" ;;
    esac
  done
}

# Every case, or those named after the four programs.
cases=("${@:5}")
[ ${#cases[@]} -gt 0 ] || cases=(welcome offscreen second noskin installed room prompts)
for name in "${cases[@]}"; do "case_$name"; done

echo "failures: $failures"
[ "$failures" = 0 ]
