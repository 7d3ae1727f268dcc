#!/usr/bin/env bash
# Starts the installer as a user would, under a channel name, ends it through
# its window (close, then "确认") and expects it to run its start-up and
# shut-down and exit 0. The timeout only guards against a hang.
set -euo pipefail
exe=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$exe" "$folder/velora_setup_ab12cd34ef.exe"
status=0
timeout 120 "$(dirname "$0")/run_and_cancel.sh" "$folder/velora_setup_ab12cd34ef.exe" || status=$?
echo "exit code: $status"
[ "$status" = 0 ]
