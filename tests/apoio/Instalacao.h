#pragma once
// The runner program installed into a scratch folder, and the stand-in gbak.
#include <QByteArray>
#include <QDateTime>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The stand-in gbak (tests/pares/gbak_falso/gbak) and its folder.
QString PastaGbakFalso();
QString GbakFalso();
// The built runner program.
QString ProgramaVaultrun();

// A runner installed into a scratch folder: the program and its CONFIG.ini.
struct Instalacao {
    QString pasta;  // with a trailing '/'
    QString pastaAtual;  // the folder the program starts in; the install folder unless set
    QStringList envoltorio;  // a command the program is started under ("unshare --net"); none unless set
    explicit Instalacao(const QString& pastaBase);
    void GravaConfig(const QByteArray& conteudo) const;
    // Runs the program without a display; returns its exit code.
    int Executa(const QProcessEnvironment& ambiente = AmbienteSemDisplay(), QByteArray* erros = nullptr) const;
    QStringList LinhasRegistro() const;  // registro.txt split at CR LF
    static QProcessEnvironment AmbienteSemDisplay();
    // The environment with the stand-in gbak's behaviours (CONFIG.ini names the
    // stand-in as GBAK).
    static QProcessEnvironment AmbienteGbakFalso(const QString& modos, const QString& arquivoArgs = {});
};

// A CONFIG.ini naming the stand-in gbak, a database and a destination, then
// the lines in `demais`.
QByteArray ConfigFalso(const QString& destino, const QByteArray& demais, const QByteArray& origem = "/dados/BASE.FDB");

// The date at the start of a run log line, in the machine's "c" format.
QDateTime DataDaLinha(const QString& linha);

// A run log line ends with " - Base " + `resultado` and starts with a date of the
// last two minutes.
void ConfereLinha(const QString& linha, const QString& resultado);
