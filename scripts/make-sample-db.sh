#!/usr/bin/env bash
# Creates a sample database holding some rows: make-sample-db.sh PATH [ROWS]
# The folder is given to the firebird user, since the server writes the file.
set -euo pipefail
db=$1
rows=${2:-1000}
dir=$(dirname "$db")
mkdir -p "$dir"
chown firebird:firebird "$dir"
rm -f "$db"
isql-fb -q <<SQL
create database 'localhost:$db' user 'SYSDBA' password 'bluefjord' page_size 8192;
create table clientes (
  id integer not null primary key,
  nome varchar(80) not null,
  cidade varchar(40),
  saldo numeric(15,2),
  cadastro timestamp default current_timestamp
);
set term ^;
execute block as
  declare i integer = 1;
begin
  while (i <= $rows) do
  begin
    insert into clientes (id, nome, cidade, saldo)
      values (:i, 'Cliente ' || :i, 'Cidade ' || mod(:i, 97), :i * 1.25);
    i = i + 1;
  end
end^
set term ;^
commit;
SQL
echo "Sample database $db with $rows rows."
