#pragma once
// A restore that gbak finished without an error line can still leave a database
// that is not the one backed up. Both verbose reports (-v) carry the evidence:
//   backup:  "gbak:    writing data for table X"   then "gbak:25003 records written"
//   restore: "gbak:restoring data for table X"     then "gbak:   25003 records restored"
// (a count line every 10000 records, the last one the total), and a restore that
// could not activate an index says so ("cannot commit index X", "Index "X"
// failed to activate because:", "Database is not online due to failure to
// activate one or more indices.").
#include <QByteArray>
#include <QList>
#include <QString>

struct ContagemTabela {
    QByteArray tabela;   // as gbak wrote it
    qint64 registros;    // the last count after the table's line; 0 when none
    bool operator==(const ContagemTabela&) const = default;
};

// The tables whose data the backup report says were written, in its order.
QList<ContagemTabela> TabelasCopiadas(const QByteArray& relatorioBackup);
// The tables whose data the restore report says were restored, in its order.
QList<ContagemTabela> TabelasRestauradas(const QByteArray& relatorioRestauracao);

// The verdict on a restore that gbak itself reported clean: empty when the
// restored database went online with its indices and every table holds the
// records the backup wrote; otherwise the message for the run log, naming the
// index or the table and both counts.
QString ConfereRestauracao(const QByteArray& relatorioBackup, const QByteArray& relatorioRestauracao);
