#!/usr/bin/env bash
# journeys.sh EXE SETUP ID...: walks the user journeys of tests/journeys.tsv
# with the real installer on the bench, clicked as a user clicks it. SETUP is
# the product's setup program (velora-pkg-setup.exe), which makes the
# "installed" machines. Each journey starts on its own collector database and
# ends with the process gone (exit code 0), no window left and the per-run
# work folder removed; then tests/event_check.py compares everything the
# collector received with the journey's expected records. With VELORA_SHOTS
# set to a folder, every page the journey passes is saved there once, as
# NN-PAGE.png (the demo's pictures), the events as events.json, and the
# installed product keeps its uninstall entry. The time-outs only catch hangs.
set -uo pipefail
exe=$1 setup=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/desktop.sh"
shots=${VELORA_SHOTS:-}
# Beside the setup in the build: the setup that exits 5.
failing=$(dirname "$setup")/velora-pkg-setup-exit5.exe
connections='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections'
package=$VELORA_BENCH_DIR/cdn/application/soft_package/pc/57203816/software/install.exe
catalog=$VELORA_CATALOG
product="$WINEPREFIX/drive_c/Program Files/Velora/Velora.exe"
older="$WINEPREFIX/drive_c/VeloraOld"
drive_d=$(readlink -f "$WINEPREFIX/dosdevices/d:")
work=$(mktemp -d)
folder=$work/download
mkdir -p "$folder"
cp "$package" "$work/package.saved"
pid= installer=
restore() {
  [ -z "$pid" ] || kill "$pid" 2> /dev/null
  setups_off
  # The demo shows the machine as its journey left it.
  [ -n "$shots" ] || wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1
  "$collector" stop
  "$collector" start
  rm -rf "$work" "$older"
}
trap restore EXIT

# The machine before the start.
machine() {
  case $1 in
    fresh) wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1 || true ;;
    same)
      # The product of an earlier journey is still there: only its key may be gone.
      wine reg query "$uninstall" /v DisplayIcon /reg:32 > /dev/null 2>&1 && [ -e "$product" ] ||
        wine "$setup" /SILENT /VERYSILENT /SP- /noicons -nowelcome '/DIR=C:\Program Files\Velora' > /dev/null 2>&1
      rm -f "${product%.exe}.started" ;;
    older)
      # The installer itself is older than the package: it stands in for the product.
      wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1
      mkdir -p "$older"
      cp "$exe" "$older/Velora.exe"
      wine reg add "$uninstall" /v DisplayIcon /t REG_SZ /d 'C:\VeloraOld\Velora.exe' /f /reg:32 > /dev/null 2>&1 ;;
    *) echo "journeys: unknown machine $1"; return 1 ;;
  esac
  # No package of an earlier journey to reuse, no address opened yet.
  rm -rf "$roaming/VeloraPkg/VELORADATA" "$(dirname "$product")/Velora视频模板"
  : > "$VELORA_OPENED_URLS"
}

# The set-ups that may follow the machine in its column, each undone by
# setups_off when the journey ends.
#   slow-cdn          a larger package on the CDN's slowed-down path, so that
#                     the download lasts a few seconds
#   failing-setup     the package on the CDN is a setup that exits 5
#   second-drive      a drive E:, a small tmpfs of its own
#   ovuid             the UID library in the SDK folder (the attribution report goes out)
#   proxy-only        the user's Internet settings name the bench's HTTP proxy,
#                     and every service address but the package host's (which
#                     the analytics collector shares) refuses direct
#                     connections: a prohibit rule of the bench's namespace for
#                     all but what the proxy sends from its own address
#   resolver-failing  the installer's system resolver knows only a hosts file
#                     without the CDN's host, so the CDN is found only by the
#                     own resolver (through the public resolvers' stand-in)
set_up() {
  case $1 in
    slow-cdn)
      # 6 MB (the setup with zeros after it, which it never reads) from the
      # CDN's slowed-down path.
      truncate -s 6M "$package"
      sed "s|\(http://[^/\"]*\)/application/|\1/slow/application/|" "$catalog" > "$work/catalog.json"
      export VELORA_CATALOG=$work/catalog.json ;;
    failing-setup) cp "$failing" "$package" ;;
    second-drive)
      mkdir -p "$work/e"
      mount -t tmpfs -o size=512m tmpfs "$work/e" && ln -sfn "$work/e" "$WINEPREFIX/dosdevices/e:" ;;
    ovuid)
      mkdir -p "$roaming/VeloraPkg/Qmx"
      cp "$(dirname "$exe")/services/tests/ovuid/OVUID.dll" "$roaming/VeloraPkg/Qmx/" ;;
    proxy-only)
      wine reg add "$connections" /v DefaultConnectionSettings /t REG_BINARY /f \
        /d "$(internet_settings "$VELORA_PROXY_IP:$VELORA_PROXY_PORT")" > /dev/null 2>&1 || return 1
      # The local table's rule moves behind the refusals, which otherwise it would answer first.
      ip rule add pref 100 from "$VELORA_PROXY_IP" lookup local || return 1
      local address
      for address in "$VELORA_CDN_IP" "$VELORA_GATEWAY_IP" "$VELORA_OV_IP" "$VELORA_PKG_FALLBACK_IP"; do
        ip rule add pref 101 to "$address" prohibit || return 1
      done
      ip rule add pref 102 lookup local && ip rule del pref 0 ;;
    resolver-failing)
      grep -v " $VELORA_CDN_HOST\$" /etc/hosts > "$work/hosts"
      local pair
      for pair in "$VELORA_PKG_IP $VELORA_PKG_HOST" "$VELORA_GATEWAY_IP $VELORA_GATEWAY_HOST" \
                  "$VELORA_WEB_IP $VELORA_WEB_HOST" "$VELORA_OV_IP $VELORA_OV_HOST"; do
        echo "$pair" >> "$work/hosts"
      done
      echo "hosts: files" > "$work/nsswitch.conf"
      launcher=(unshare --mount sh -c 'mount --bind "$1" /etc/hosts && mount --bind "$2" /etc/nsswitch.conf &&
                shift 2 && exec "$@"' _ "$work/hosts" "$work/nsswitch.conf") ;;
    *) echo "journeys: unknown set-up $1"; return 1 ;;
  esac
}
setups_off() {
  launcher=()
  export VELORA_CATALOG=$catalog
  cp "$work/package.saved" "$package"
  rm -f "$roaming/VeloraPkg/Qmx/OVUID.dll" "$WINEPREFIX/dosdevices/e:"
  ! mountpoint -q "$work/e" || umount "$work/e"
  wine reg delete "$connections" /v DefaultConnectionSettings /f > /dev/null 2>&1
  ip rule list pref 0 | grep -q . || ip rule add pref 0 lookup local
  while ip rule del pref 101 2> /dev/null; do :; done
  ip rule del pref 100 2> /dev/null
  ip rule del pref 102 2> /dev/null
  [ "$refusing" = 0 ] || ip route del prohibit "$VELORA_CDN_IP/32" table local
  refusing=0
}
# internet_settings PROXY: the binary value of the user's connection settings
# that names PROXY as the manual proxy, in hex.
internet_settings() {
  python3 -c 'import struct, sys
p = sys.argv[1].encode()
print((struct.pack("<III", 0x46, 1, 2) + struct.pack("<I", len(p)) + p + struct.pack("<II", 0, 0)).hex())' "$1"
}

declare -A size=([welcome]="600 400" [custom]="600 400" [progress]="600 400" [finished]="600 400" [reminder]="400 200" [warn]="400 200"
                [error]="400 200")
# The pages of one size told apart: a pixel each shows once the page is up.
page_shows() {
  local l t r b
  case $1 in
    progress)  # the bar, once it has grown
      read -r l t r b <<< "$(rect_of progress bar $2 $3 1)"
      wait_pixel $((l + b - t + 2)) $(((t + b) / 2)) 535FFF ;;
    finished)  # "立即体验"
      local x y
      read -r x y <<< "$(at finished start $2 $3 1)"
      wait_pixel $((x - 60)) "$y" 535FFF ;;
    *) return 0 ;;
  esac
}
declare -A origin
shot=0 frame=
step_window() {
  local id
  id=$(wait_window ${size[$1]})
  check "the $1 page shows" $?
  sleep 1
  read -r L T W H <<< "$(geometry "$id")"
  origin[$1]="$L $T"
  page_shows "$1" "$L" "$T"
  check "... with its content" $?
  [ -n "$folders" ] || {
    folders=$(comm -13 <(echo "$before") <(ls -d "$drive_d"/VeloraPkg_* 2> /dev/null))
    check "the work folder is made: $(basename "$folders")" "$([ -n "$folders" ]; echo $?)"
  }
  # A prompt is pictured over the page it belongs to.
  [ "$1" = warn ] || [ "$1" = error ] || frame="$W $H $L $T"
  # Each page once, as the journey first passes it.
  if [ -n "$shots" ] && ! compgen -G "$shots/[0-9][0-9]-$1.png" > /dev/null; then
    shot=$((shot + 1))
    screen
    read -r fw fh fl ft <<< "$frame"
    crop "$shots/$(printf %02d "$shot")-$1.png" "$fl" "$ft" "$fw" "$fh"
  fi
}
step_click() {
  local x y
  read -r x y <<< "$(at "$1" "$2" ${origin[$1]} 1)"
  click "$x" "$y"
}
step_gone() {
  gone_window ${size[$1]}
  check "the $1 window goes" $?
}
step_second() {
  local status=0
  timeout 60 "${launcher[@]}" "$root/scripts/wine-run" "$installer" > /dev/null 2>&1 || status=$?
  check "a second start ends with $status" "$status"
  sleep 1
  check "the first window stays" "$(wait_window_once ${size[$page]}; echo $?)"
}
# started [FOLDER]: the product in FOLDER (a Windows path; the one of the
# "same" machine when none) was started.
step_started() {
  local marker=${product%.exe}.started
  [ $# = 0 ] || marker=$(winepath -u "$*\\Velora.started" 2> /dev/null)
  for _ in $(seq 1 100); do [ -e "$marker" ] && break; sleep 0.1; done
  check "the installed product was started" "$([ -e "$marker" ]; echo $?)"
}
# type PAGE WIDGET TEXT: a click into the box, its text replaced by typing.
step_type() {
  step_click "$1" "$2"
  xdo key --clearmodifiers End shift+Home BackSpace
  xdo type --delay 40 "${*:3}"
  sleep 0.3
}
# tray: a click on the installer's icon in Wine's own notification area,
# which shows while it holds an icon (there is no window manager).
step_tray() {
  local tray= tl tt
  for _ in $(seq 1 50); do
    tray=$(xdo search --onlyvisible --name 'Wine System Tray' 2> /dev/null | head -n 1)
    [ -n "$tray" ] && break
    sleep 0.1
  done
  check "the icon is in the notification area" "$([ -n "$tray" ]; echo $?)"
  read -r tl tt _ _ <<< "$(geometry "$tray")"
  click $((tl + 12)) $((tt + 32))
}
# cdn refused|open: connections to the CDN's address are refused at once (a
# prohibit route in the bench's namespace), or accepted again.
refusing=0
step_cdn() {
  if [ "$1" = refused ]; then
    [ "$refusing" = 1 ] || ip route add prohibit "$VELORA_CDN_IP/32" table local
    refusing=1
  else
    [ "$refusing" = 0 ] || ip route del prohibit "$VELORA_CDN_IP/32" table local
    refusing=0
  fi
}
# opened TEXT: the bench's browser was given an address holding TEXT.
step_opened() {
  for _ in $(seq 1 50); do grep -qF "$1" "$VELORA_OPENED_URLS" && break; sleep 0.1; done
  check "an address with $1 was opened" "$(grep -qF "$1" "$VELORA_OPENED_URLS"; echo $?)"
}
# config KEY VALUE: config.ini holds that value.
step_config() {
  local ini=$roaming/VeloraPkg/VELORADATA/config.ini
  check "config.ini: $1=$2" "$(iconv -f UTF-16 -t UTF-8 "$ini" 2> /dev/null | tr -d '\r' | grep -qx "$1=$2"; echo $?)"
}
# reported FIELD VALUE: the attribution service stored a report with that value.
step_reported() {
  local found=1
  for _ in $(seq 1 50); do
    "$stack" reports --db "$VELORA_REPORTS_DB" | grep -qF "\"$1\":\"$2\"" && { found=0; break; }
    sleep 0.1
  done
  check "the attribution report has $1=$2" "$found"
}

# The end every journey shares.
ended() {
  finish "the installer ends"
  local left
  for _ in $(seq 1 50); do left=$(windows); [ -z "$left" ] && break; sleep 0.1; done
  check "no window left" "$([ -z "$left" ]; echo $?)"
  check "the work folder is removed" "$(is "$(comm -13 <(echo "$before") <(ls -d "$drive_d"/VeloraPkg_* 2> /dev/null))" "")"
  local items
  read -ra items <<< "$1"
  "$stack" records --db "$db" > "$work/records.json"
  [ -z "$shots" ] || "$stack" events --db "$db" > "$shots/events.json"
  python3 "$root/tests/event_check.py" "$root/analytics/events.json" "$work/records.json" "${items[@]}"
  local status=$?
  check "the collector received the journey's records" "$status"
  [ "$status" = 0 ] || cat "$work/records.json"
}

journey() {
  local id=$1 row what machine steps expected step
  row=$(grep -v '^#' "$root/tests/journeys.tsv" | awk -F'|' -v id="$id" '{ key = $1; gsub(/ /, "", key) } key == id')
  [ -n "$row" ] || { check "journey $id is in the table" 1; return; }
  IFS='|' read -r _ what machine file steps expected <<< "$row"
  echo "== journey $id:$what"
  local setups version
  read -ra setups <<< "$machine"
  machine "${setups[0]}" || { check "the machine ${setups[0]}" 1; return; }
  for name in "${setups[@]:1}"; do set_up "$name" || { check "the set-up $name" 1; return; }; done
  # The installer as the row names it, a version of it built by
  # scripts/release-channels when the name is followed by one.
  read -r file version <<< "$file"
  installer=$folder/$file
  local source=$exe
  [ -z "$version" ] || source=$root/build/channels/$version/velora_setup.exe
  cp "$source" "$installer" || { check "the installer $file $version" 1; return; }
  before=$(ls -d "$drive_d"/VeloraPkg_* 2> /dev/null) folders=
  start "journey-$id" "$installer"
  IFS=';' read -ra steps <<< "$steps"
  for step in "${steps[@]}"; do
    read -ra words <<< "$step"
    [ "${words[0]}" = window ] && page=${words[1]}
    if declare -F "step_${words[0]}" > /dev/null; then
      "step_${words[0]}" "${words[@]:1}"
    else
      check "a step named ${words[0]}" 1
    fi
  done
  ended "$expected"
  setups_off
}

for id in "$@"; do journey "$id"; done
echo "failures: $failures"
[ "$failures" = 0 ]
