#!/usr/bin/env bash
# journeys.sh EXE SETUP ID...: walks the user journeys of tests/journeys.tsv
# with the real installer on the bench, clicked as a user clicks it. SETUP is
# the product's setup program (velora-pkg-setup.exe), which makes the
# "installed" machines. Each journey starts on its own collector database and
# ends with the process gone (exit code 0), no window left and the per-run
# work folder removed; then tests/event_check.py compares everything the
# collector received with the journey's expected records. With VELORA_SHOTS
# set to a folder, every page the journey passes is saved there once, as
# NN-PAGE.png (the demo's pictures). The time-outs only catch hangs.
set -uo pipefail
exe=$1 setup=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
stack=$root/build/host/backend/velora-stack
collector=$root/scripts/bench/collector
shots=${VELORA_SHOTS:-}
uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\{5D0E9A21-7C4B-4F83-A6E2-3B9C1D7F0E54}_is1'
product="$WINEPREFIX/drive_c/Program Files/Velora/Velora.exe"
older="$WINEPREFIX/drive_c/VeloraOld"
drive_d=$(readlink -f "$WINEPREFIX/dosdevices/d:")
work=$(mktemp -d)
folder=$work/download
mkdir -p "$folder"
cp "$exe" "$folder/velora_setup_ab12cd34ef.exe"
pid=
restore() {
  [ -z "$pid" ] || kill "$pid" 2> /dev/null
  wine reg delete "$uninstall" /f /reg:32 > /dev/null 2>&1
  "$collector" stop
  "$collector" start
  rm -rf "$work" "$older"
}
trap restore EXIT
roaming=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -name Roaming | head -n 1)
source "$root/tests/desktop.sh"

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
}

declare -A size=([welcome]="600 400" [reminder]="400 200" [warn]="400 200")
declare -A origin
shot=0 frame=
step_window() {
  local id
  id=$(wait_window ${size[$1]})
  check "the $1 page shows" $?
  sleep 1
  read -r L T W H <<< "$(geometry "$id")"
  origin[$1]="$L $T"
  [ -n "$folders" ] || {
    folders=$(comm -13 <(echo "$before") <(ls -d "$drive_d"/VeloraPkg_* 2> /dev/null))
    check "the work folder is made: $(basename "$folders")" "$([ -n "$folders" ]; echo $?)"
  }
  # A prompt is pictured over the page it belongs to.
  [ "$1" = warn ] || frame="$W $H $L $T"
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
  timeout 60 "$root/scripts/wine-run" "$folder/velora_setup_ab12cd34ef.exe" > /dev/null 2>&1 || status=$?
  check "a second start ends with $status" "$status"
  sleep 1
  check "the first window stays" "$(wait_window_once ${size[$page]}; echo $?)"
}
step_started() {
  for _ in $(seq 1 100); do [ -e "${product%.exe}.started" ] && break; sleep 0.1; done
  check "the installed product was started" "$([ -e "${product%.exe}.started" ]; echo $?)"
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
  python3 "$root/tests/event_check.py" "$root/analytics/events.json" "$work/records.json" "${items[@]}"
  local status=$?
  check "the collector received the journey's records" "$status"
  [ "$status" = 0 ] || cat "$work/records.json"
}

journey() {
  local id=$1 row what machine steps expected step
  row=$(grep -v '^#' "$root/tests/journeys.tsv" | awk -F'|' -v id="$id" '{ key = $1; gsub(/ /, "", key) } key == id')
  [ -n "$row" ] || { check "journey $id is in the table" 1; return; }
  IFS='|' read -r _ what machine steps expected <<< "$row"
  echo "== journey $id:$what"
  read -r machine <<< "$machine"
  machine "$machine" || { check "the machine $machine" 1; return; }
  before=$(ls -d "$drive_d"/VeloraPkg_* 2> /dev/null) folders=
  start "journey-$id"
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
}

for id in "$@"; do journey "$id"; done
echo "failures: $failures"
[ "$failures" = 0 ]
