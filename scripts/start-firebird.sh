#!/usr/bin/env bash
# Starts the local Firebird 3 server (Debian's package does not start it where no
# init system runs) and sets the SYSDBA password the backup command lines use.
# Safe to run again: it does nothing that is already done.
set -euo pipefail
[ "$(id -u)" = 0 ] || { echo "run as root" >&2; exit 1; }
PASSWORD=bluefjord
SECDB=/var/lib/firebird/3.0/system/security3.fdb

server_up() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }
password_ok() {
  fbsvcmgr localhost:service_mgr user SYSDBA password "$PASSWORD" info_server_version >/dev/null 2>&1
}
as_firebird() { su firebird -s /bin/sh -c "$1"; }

if server_up && password_ok; then
  echo "Firebird running, SYSDBA password set."
  exit 0
fi

if server_up; then
  # Running with another password: change it through the server, using the one
  # the package chose.
  old=$(sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' /etc/firebird/3.0/SYSDBA.password)
  fbsvcmgr localhost:service_mgr user SYSDBA password "$old" \
    action_modify_user sec_username SYSDBA sec_password "$PASSWORD"
else
  # Not running: set it directly in the security database, then start.
  tmp=$(mktemp)
  printf "alter user SYSDBA password '%s' using plugin Srp;\ncommit;\n" "$PASSWORD" > "$tmp"
  chmod 644 "$tmp"
  as_firebird "isql-fb -q -user SYSDBA $SECDB -i $tmp"
  rm -f "$tmp"
  mkdir -p /run/firebird3.0
  chown firebird:firebird /run/firebird3.0
  as_firebird "/usr/sbin/fbguard -daemon -forever"
  for _ in $(seq 1 50); do server_up && break; sleep 0.2; done
fi
sed -i "s/^ISC_PASSWORD=.*/ISC_PASSWORD=\"$PASSWORD\"/" /etc/firebird/3.0/SYSDBA.password
password_ok || { echo "Firebird: SYSDBA password could not be set" >&2; exit 1; }
echo "Firebird running, SYSDBA password set."
