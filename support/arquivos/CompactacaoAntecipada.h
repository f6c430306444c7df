#pragma once
// The archive built on a worker thread while the caller goes on (the test restore
// reads the same backup file meanwhile), and kept only when the caller says so.
// Until Publica is called the archive exists only under a hidden temporary name,
// so pruning and the other programs never see it; an archive that is never
// published (the restore failed, or an error left the caller's scope) is removed
// once it is complete, and the backup file stays untouched.
#include <QString>

#include <future>

class CompactacaoAntecipada {
public:
    // Starts packing `arquivo` for `arquivoZip` at once.
    CompactacaoAntecipada(QString arquivo, QString arquivoZip);
    ~CompactacaoAntecipada();
    CompactacaoAntecipada(const CompactacaoAntecipada&) = delete;
    CompactacaoAntecipada& operator=(const CompactacaoAntecipada&) = delete;

    // Waits for the archive, gives it its name and deletes `arquivo`: what
    // Compacta does. Throws Erro as Compacta does (the packing's own failure too).
    void Publica();
    // Waits for the archive and removes it; the packing's failure, if any, is
    // dropped with it.
    void Descarta();

private:
    QString arquivo_;
    QString arquivoZip_;
    std::future<QString> temporario_;
};
