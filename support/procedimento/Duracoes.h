#pragma once
// The measured durations of the last backup and test restore of a database,
// kept in CONFIG.ini so the next run can count down. They only feed that
// countdown: a write the file refuses is reported on standard error and the run
// goes on.
#include <QByteArray>
#include <QString>

class Duracoes {
public:
    // An empty system tag reads and writes nothing (both durations are 0).
    Duracoes(const QString& sistema, const QString& nomeBanco);

    int backup() const { return backup_; }
    int restauracao() const { return restauracao_; }
    void gravaBackup(int segundos) const;
    void gravaRestauracao(int segundos) const;

private:
    void grava(const QByteArray& chave, int segundos) const;

    bool ativo_;
    QByteArray chaveBackup_;
    QByteArray chaveRestauracao_;
    int backup_ = 0;
    int restauracao_ = 0;
};
