#!/usr/bin/env bash
# The test command on a bare Debian 12 machine: installs what is missing, builds,
# starts the servers the tests need (the FTP and SMTP peers are started by the tests
# themselves) and runs the whole suite through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
scripts/start-firebird.sh
# The FTP and SMTP peers are started by the tests themselves; make sure they can be.
/usr/bin/python3 -c 'import pyftpdlib, aiosmtpd' || { echo "python3-pyftpdlib/python3-aiosmtpd missing" >&2; exit 1; }
command -v openssl >/dev/null || { echo "openssl missing (the STARTTLS test makes its certificate)" >&2; exit 1; }
cd build
ctest --output-on-failure --timeout 900 "$@"
