#pragma once
// The test restore: the fresh backup is restored by gbak into a scratch database
// beside it; a missing report or one that mentions an error fails the run.
#include <QByteArray>
#include <QString>

class Memo;
class Rotulo;
class TIniFile;
struct PapeisPastas;

// The pieces of the backup's command line that the restore reuses.
struct PecasComando {
    QString log;      // "-v -y <report>" or empty
    QString servico;  // "-se <host>service_mgr" or empty
    QString banco;    // the database
    QString backup;   // the backup file
};

struct EtapaRestauracao {
    const PapeisPastas& papeis;
    const PecasComando& pecas;
    QString arqBackup;
    QString arqLog;
    int segundosEsperados;
    Rotulo& rotulo;
    Memo& memo;
    TIniFile* config;       // open configuration; null with an empty system tag
    QByteArray chaveTRest;  // duration key
};

// Runs the stage; sets `mensagem` when the restore failed.
void TesteRestauracao(const EtapaRestauracao& etapa, QString& mensagem);

// The scratch database's name for a backup file name.
QString ArquivoTeste(const QString& arqBackup);
