#!/usr/bin/env bash
# The install as a user clicks it, in the real installer on the bench's
# display: "立即安装", the progress page (watched on a CDN slowed down per
# connection, screenshots in build/win/screens/), the finished page and
# "立即体验"; what the machine, config.ini, the collector and the browser
# recorder hold afterwards, and nothing written outside the bench. Then the
# failures: a CDN that refuses connections and a setup that exits 5, with
# their retry and manual prompts; the notification area; WM_CLOSE on the
# progress and finished pages. The time-outs only catch hangs.
set -uo pipefail
exe=$1 probe=$2 failing=$3
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/desktop.sh"
: "${VELORA_BENCH_DIR:?run through scripts/hermetic}" "${VELORA_CATALOG:?}" "${VELORA_CDN_IP:?}"
mkdir -p "$screens"
rm -f "$screens"/install-*.png
work=$(mktemp -d)
folder=$work/download
mkdir -p "$folder"
# Named for the channel ab12cd34, which the gateway knows with every member.
installer=$folder/Velora_ab12cd34.exe
cp "$exe" "$installer"
package=$VELORA_BENCH_DIR/cdn/application/soft_package/pc/57203816/software/install.exe
cp "$package" "$work/package.saved"
catalog=$VELORA_CATALOG
target=$(winepath -u 'C:\Program Files\Velora\Velora视频模板' 2> /dev/null)
pid=
refusing=0

# refuse on|off: connections to the CDN's address are refused at once (a
# prohibit route in the bench's own network namespace), or accepted again.
refuse() {
  if [ "$1" = on ]; then
    ip route add prohibit "$VELORA_CDN_IP/32" table local && refusing=1
  else
    [ "$refusing" = 0 ] || ip route del prohibit "$VELORA_CDN_IP/32" table local
    refusing=0
  fi
}

# A machine without the product, its folder, the cached package and any
# opened address.
fresh_machine() {
  wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1
  rm -rf "$(dirname "$target")" "$roaming/VeloraPkg/VELORADATA"
  : > "$VELORA_OPENED_URLS"
}

# A package of 6 MB (the setup with zeros after it, which it never reads), so
# that the download writes several times and the bar moves in steps.
large_package() {
  cp "$work/package.saved" "$package"
  truncate -s 6M "$package"
}

# catalog_via PREFIX: the package service names the package under the CDN's
# PREFIX path ("" for the plain one); takes effect with the next start.
catalog_via() {
  sed "s|\(http://[^/\"]*\)/application/|\1$1/application/|" "$catalog" > "$work/catalog.json"
  export VELORA_CATALOG=$work/catalog.json
}

restore() {
  [ -z "$pid" ] || kill "$pid" 2> /dev/null
  refuse off
  fresh_machine
  cp "$work/package.saved" "$package"
  export VELORA_CATALOG=$catalog
  "$collector" stop
  "$collector" start
  rm -rf "$work"
}
trap restore EXIT

# The installer's main window: its id in `main`, its corner in L and T.
main_window() {
  main=$(wait_window 600 400)
  sleep 1
  read -r L T _ _ <<< "$(geometry "$main")"
}
click_at() {  # click_at PAGE WIDGET [LEFT TOP]
  local x y
  read -r x y <<< "$(at "$1" "$2" "${3:-$L}" "${4:-$T}" 1)"
  click "$x" "$y"
}
# prompt_click SCREEN BUTTON: waits for a prompt, saves it, clicks the button.
prompt_click() {
  local prompt pl pt
  prompt=$(wait_window 400 200)
  check "$1: the prompt shows" $?
  sleep 0.8
  read -r pl pt _ _ <<< "$(geometry "$prompt")"
  screen
  crop "$screens/install-$1.png" "$pl" "$pt" 400 200
  click_at error "$2" "$pl" "$pt"
  gone_window 400 200
}
# The finished page is up once its "立即体验" is blue.
finished_page() {
  local x y
  read -r x y <<< "$(at finished start "$L" "$T" 1)"
  wait_pixel $((x - 60)) "$y" 535FFF
}
# Area of a widget of the progress page as "WxH+X+Y" for a crop.
area() {
  local l t r b
  read -r l t r b <<< "$(rect_of progress "$1" "$L" "$T" 1)"
  echo "$((r - l))x$((b - t))+$l+$t"
}
shot() { convert "$work/screen.png" -crop "$(area "$2")" +repage "$1"; }
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)" != 0 ]; }
bar_pixels() { colour_pixels 535FFF $(rect_of progress bar "$L" "$T" 1); }

case_install() {
  echo "== the whole install, clicked"
  fresh_machine
  large_package
  catalog_via /slow
  touch "$work/before"
  ls -A / > "$work/root-before"
  start install "$installer"
  main_window
  click_at welcome install
  # Two moments of the download: once the bar has grown, and 3 s later; the
  # banner in between, four times.
  for _ in $(seq 1 300); do
    screen
    early=$(bar_pixels)
    [ "$early" -gt 0 ] && break
    sleep 0.1
  done
  crop "$screens/install-progress-early.png" "$L" "$T" 600 400
  shot "$work/status-1.png" status
  for i in 1 2 3 4; do
    screen
    shot "$work/banner-$i.png" banner
    sleep 0.3
  done
  wine "$probe" close "$class" > /dev/null 2>&1
  check "WM_CLOSE during the download is answered" $?
  sleep 2
  screen
  crop "$screens/install-progress-late.png" "$L" "$T" 600 400
  shot "$work/status-2.png" status
  late=$(bar_pixels)
  frames=$(md5sum "$work"/banner-?.png | cut -d' ' -f1 | sort -u | wc -l)
  check "the window stays after WM_CLOSE during the download" "$(wait_window_once 600 400; echo $?)"
  check "the bar grows ($early, then $late blue pixels)" "$([ "$late" -gt "$early" ] && [ "$early" -gt 0 ]; echo $?)"
  check "the figure changes" "$(differs "$work/status-1.png" "$work/status-2.png"; echo $?)"
  check "the banner moves on ($frames different frames in four looks)" "$([ "$frames" -ge 2 ]; echo $?)"
  finished_page
  check "the finished page shows" $?
  crop "$screens/install-finished.png" "$L" "$T" 600 400
  for _ in $(seq 1 100); do [ -s "$VELORA_OPENED_URLS" ] && break; sleep 0.1; done
  welcome=$(head -n 1 "$VELORA_OPENED_URLS")
  click_at finished start
  finish "立即体验 ends the installer"
  for _ in $(seq 1 100); do [ -e "$target/Velora.started" ] && break; sleep 0.1; done
  check "立即体验 started the installed program" "$([ -e "$target/Velora.started" ]; echo $?)"

  # The machine: the product, its uninstall entry, config.ini.
  check "the product is in the default folder inside the bench's prefix" "$([ -f "$target/Velora.exe" ]; echo $?)"
  entry=$(wine reg query "$uninstall" /reg:32 2> /dev/null | tr -d '\r')
  check "the uninstall entry names the version" "$(grep -q 'DisplayVersion.*3\.6\.0\.1' <<< "$entry"; echo $?)"
  check "the uninstall entry names the folder" "$(grep -q 'InstallLocation *REG_SZ *C:\\Program Files\\Velora\\' <<< "$entry"; echo $?)"
  ini=$roaming/VeloraPkg/VELORADATA/config.ini
  iconv -f UTF-16 -t UTF-8 "$ini" | tr -d '\r' > "$work/config.txt"
  python3 - "$work/config.txt" "$welcome" "$(md5sum < "$package" | cut -c1-32)" <<'PY'
import hashlib, re, sys
text, welcome, md5 = open(sys.argv[1]).read(), sys.argv[2], sys.argv[3]
ini = dict(l.split("=", 1) for l in text.splitlines() if "=" in l)
ok = True
def check(what, cond):
    global ok
    print(("ok: " if cond else "FAIL: ") + what)
    ok = ok and cond
hexa = re.compile("^[0-9a-f]{32}$")
check("config.ini: md5 of the package", ini.get("md5") == md5)
check("config.ini: path of the package", ini.get("path", "").endswith(".exe") and "VELORADATA" in ini.get("path", ""))
check("config.ini: install=1, is_sem=1", ini.get("install") == "1" and ini.get("is_sem") == "1")
check("config.ini: app_id, channel_id, app_version",
      (ini.get("app_id"), ini.get("channel_id"), ini.get("app_version")) == ("57203816", "ab12cd34", "3.6.0.1"))
# cam stays out where the machine has no network adapter, as on the bench.
check("config.ini: mid, session_id, cam", hexa.match(ini.get("mid", "")) and hexa.match(ini.get("session_id", ""))
      and hexa.match(ini.get("cam", "0" * 32)))
check("config.ini: begin_timestamp <= end_timestamp",
      int(ini.get("begin_timestamp", "0")) <= int(ini.get("end_timestamp", "-1")) and int(ini["begin_timestamp"]) > 0)
check("config.ini: advertising_account_name", bool(ini.get("advertising_account_name")))
check("config.ini: welcome_url is the opened address (%s)" % welcome, ini.get("welcome_url") == welcome)
head, _, rest = welcome.partition("&session_id=")
session = rest.split("&")[0]
check("the address carries _channel, _mid, cam, app_version, time_stamp",
      all(k in head for k in ("_channel=ab12cd34", "&_mid=", "&cam=", "&app_version=3.6.0.1", "&time_stamp=")))
check("session_id is the MD5 of the address before it", session == hashlib.md5(head.encode()).hexdigest() == ini.get("session_id"))
sys.exit(0 if ok else 1)
PY
  [ $? = 0 ] || { failures=$((failures + 1)); cat "$work/config.txt"; echo "$entry"; }

  # The collector: the events in the order of an install, the records.
  expect "the events in the order of an install" '[n for n in [e["name"] for e in events] if n in (
    "pSoftInstall", "vInstallPage", "pConfirmInstall", "vJoinPlan", "vSoftDownloadStart", "pSoftDownloadResult",
    "vSoftInstallStart", "pSoftInstallResult", "vOpenUrl", "pImmediateUse", "vSoftQuit")] == [
    "pSoftInstall", "vInstallPage", "pConfirmInstall", "vJoinPlan", "vSoftDownloadStart", "pSoftDownloadResult",
    "vSoftInstallStart", "pSoftInstallResult", "vOpenUrl", "pImmediateUse", "vSoftQuit"]'
  expect "the results: downloaded, installed" 'named("pSoftDownloadResult")[0]["properties"]["soft_download_status"] == "下载成功"
    and named("pSoftInstallResult")[0]["properties"] == {"is_first_install": True, "is_reinstall": False,
      "install_status": "安装成功", "soft_package_name": "Velora_ab12cd34", "install_type": "安装器"}
    and named("vJoinPlan")[0]["properties"] == {"choose_join_plan": True} and named("vSoftInstallError") == []'
  expect "the clicks: 立即安装, 立即体验" 'actions == [("0001", "0002"), ("0004", "0002")]'

  # Nothing outside the bench: no new entry in /, nothing newer than the
  # start in the places a program could write to.
  ls -A / > "$work/root-after"
  check "no new entry in /" "$(cmp -s "$work/root-before" "$work/root-after"; echo $?)"
  outside=$(find /root /home /opt /srv /mnt /media /usr/local /etc -xdev -newer "$work/before" \
    ! -path /etc/resolv.conf ! -path /etc/hosts 2> /dev/null | head -n 5)
  check "nothing written outside the bench (${outside:-none})" "$([ -z "$outside" ]; echo $?)"
}

case_network() {
  echo "== a CDN that refuses: later, then a retry that works"
  fresh_machine
  cp "$work/package.saved" "$package"
  catalog_via ""
  refuse on
  start network "$installer"
  main_window
  click_at welcome install
  prompt_click network-error second
  screen
  check "稍后重试 goes back to the welcome page" "$(wait_pixel $(at welcome install "$L" "$T" 1) 535FFF; echo $?)"
  crop "$screens/install-back-to-welcome.png" "$L" "$T" 600 400
  click_at welcome install
  wait_window 400 200 > /dev/null
  refuse off
  prompt_click network-error-2 first
  finished_page
  check "the retry completes the install" $?
  wine "$probe" close "$class" > /dev/null 2>&1
  finish "WM_CLOSE on the finished page ends the installer"
  expect "two refused downloads, then an install" 'len([e for e in named("pSoftDownloadResult")
      if e["properties"]["soft_download_status"] == "下载失败"]) == 2 and len(named("pSoftInstallResult")) == 1
    and named("pCloseStartPage") == []'
  expect "the clicks: later, retry" 'actions == [("0001", "0002"), ("0007", "0002"), ("0001", "0002"), ("0007", "0001")]'

  echo "== a CDN that refuses three times: the manual download"
  fresh_machine
  refuse on
  start manual-download "$installer"
  main_window
  click_at welcome install
  prompt_click network-error-1 first
  prompt_click network-error-2 first
  prompt_click manual-download first
  finish "确认 of the manual download ends the installer"
  opened=$(head -n 1 "$VELORA_OPENED_URLS")
  check "the package address opens ($opened)" \
    "$(grep -q "^http://[^/]*/application/soft_package/pc/57203816/software/install.exe" <<< "$opened"; echo $?)"
  expect "three failed downloads, three clicks and the manual download" \
    'actions == [("0001", "0002"), ("0007", "0001"), ("0007", "0001"), ("0010", "0001")]'
  refuse off
}

case_setup() {
  echo "== a download failure, then a setup that exits 5 three times: the manual install"
  fresh_machine
  catalog_via ""
  cp "$failing" "$package"
  refuse on
  start setup-fails "$installer"
  main_window
  click_at welcome install
  wait_window 400 200 > /dev/null
  refuse off
  prompt_click network-error-once first
  prompt_click install-error-1 first
  prompt_click install-error-2 first
  prompt_click manual-install first
  finish "确认 of the manual install ends the installer"
  expect "three setup failures with code 5, counted apart from the download" \
    '[e["properties"]["error_status"] for e in named("vSoftInstallError")] == ["5", "5", "5"]
    and actions == [("0001", "0002"), ("0007", "0001"), ("0008", "0001"), ("0008", "0001"), ("0011", "0001")]'
  cp "$work/package.saved" "$package"
}

# Wine's own notification area, shown while it holds an icon (no window
# manager on the bench's display): its window id, or nothing.
tray_window() { timeout 5 xdotool search --onlyvisible --name 'Wine System Tray' 2> /dev/null | head -n 1; }
# hide_to_tray WHAT: "隐藏窗口", then the window is gone and the icon shows.
hide_to_tray() {
  click_at progress hide
  gone_window 600 400
  check "$1: 隐藏窗口 hides the window" $?
  for _ in $(seq 1 50); do [ -n "$(tray_window)" ] && break; sleep 0.1; done
  check "$1: the icon is in the notification area" "$([ -n "$(tray_window)" ]; echo $?)"
}
shown_again() {  # shown_again WHAT: the window is back and the icon gone
  check "$1 brings the window back" "$(wait_window 600 400 > /dev/null; echo $?)"
  for _ in $(seq 1 50); do [ -z "$(tray_window)" ] && break; sleep 0.1; done
  check "$1 removes the icon" "$([ -z "$(tray_window)" ]; echo $?)"
  sleep 0.5
}

case_tray() {
  echo "== the notification area"
  fresh_machine
  large_package
  catalog_via /slower
  start tray "$installer"
  main_window
  click_at welcome install
  sleep 1
  hide_to_tray first
  screen
  cp "$work/screen.png" "$screens/install-hidden.png"
  # A click on the icon, as a user does it.
  read -r tl tt _ _ <<< "$(geometry "$(tray_window)")"
  click $((tl + 12)) $((tt + 32))
  shown_again "a click on the icon"
  hide_to_tray second
  # The shell's message for a right button-up on the icon.
  wine "$probe" post "$class" 32878 0 517 > /dev/null 2>&1
  shown_again "a right button-up on the icon"
  hide_to_tray third
  status=0
  timeout 60 "$root/scripts/wine-run" "$installer" > /dev/null 2>&1 || status=$?
  check "a second start while hidden exits 0 ($status)" "$status"
  shown_again "a second start"
  hide_to_tray fourth
  main=$(wait_window 600 400)
  check "the end of the install shows the window" $?
  finished_page
  check "... with the finished page" $?
  check "... and no icon" "$([ -z "$(tray_window)" ]; echo $?)"
  crop "$screens/install-finished-after-hidden.png" "$L" "$T" 600 400
  click_at finished close
  finish "the close button ends the installer"
  expect "hide and restore twice, hide twice; then the close" 'actions == [("0001", "0002"), ("0003", "0001"),
    ("0003", "0002"), ("0003", "0001"), ("0003", "0002"), ("0003", "0001"), ("0003", "0001"), ("0004", "0001")]
    and len(named("pCloseStartPage")) == 1 and len(named("pSoftInstallResult")) == 1'
}

cases=("${@:4}")
[ ${#cases[@]} -gt 0 ] || cases=(install network setup tray)
for name in "${cases[@]}"; do "case_$name"; done

echo "failures: $failures"
[ "$failures" = 0 ]
