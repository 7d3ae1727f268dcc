#!/usr/bin/env bash
# The package index with the package host not listening: stops the bench's
# package host (with its collector), runs the fallback case, and starts the
# host again whatever happened.
set -uo pipefail
tests=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
collector=$root/scripts/bench/collector
trap '"$collector" start' EXIT
"$collector" stop
VELORA_PKG_HOST_DOWN=1 wine "$tests" --gtest_filter='PackageServiceTest.FallbackAddressServesWhenTheHostIsDown'
