#!/usr/bin/env bash
# The test command on a bare Debian 12 machine: installs what is missing, builds,
# starts the servers the tests need and runs the whole suite through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
scripts/start-firebird.sh
cd build
ctest --output-on-failure --timeout 900 "$@"
