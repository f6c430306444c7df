#!/usr/bin/env bash
# Creates, once, a database on the local Firebird server whose gbak backup holds at
# least MEGABYTES: bench/banco_grande.sh MEGABYTES DATABASE_PATH
set -euo pipefail
mb=$1
db=$2
if [ ! -f "$db" ]; then
  mkdir -p "$(dirname "$db")"
  chown firebird:firebird "$(dirname "$db")"
  # About 160 bytes of backup per row: text like a real register, compressible but
  # far from constant.
  rows=$(( mb * 1024 * 1024 / 160 + 1 ))
  echo "generating $rows rows..."
  isql-fb -q <<SQL
create database 'localhost:$db' user 'SYSDBA' password 'bluefjord' page_size 8192;
create table movimento (
  id integer not null primary key,
  cliente varchar(60), historico varchar(120), cidade varchar(40),
  valor numeric(15,2), emissao date, codigo varchar(24));
set term ^;
execute block as
  declare i integer = 1;
begin
  while (i <= $rows) do
  begin
    insert into movimento values (:i,
      'Cliente ' || mod(:i * 7919, 50021),
      'Pagamento ref. nota ' || mod(:i * 104729, 999983) || ' parcela ' || mod(:i, 12) || ' de 12 - ' || uuid_to_char(gen_uuid()),
      'Cidade ' || mod(:i, 853),
      mod(:i * 31337, 1000000) / 100.0,
      dateadd(mod(:i, 3650) day to date '2015-01-01'),
      lpad(mod(:i * 2654435761, 4294967291), 12, '0') || '-' || mod(:i, 97));
    i = i + 1;
  end
end^
set term ;^
commit;
SQL
fi
