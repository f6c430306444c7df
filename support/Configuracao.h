#pragma once
// The settings of section "Sistema" of CONFIG.ini: who reads which keys, with
// which defaults, and how the settings tool writes them.
#include <QByteArray>
#include <QString>

class TIniFile;

inline constexpr const char* SecaoSistema = "Sistema";

// Program folder + "CONFIG.ini".
QString ArquivoConfiguracao();

// Database name of an Origem path: text after the last '/' or '\', cut before its
// first '.' (C:\Dados\BASE.FDB gives BASE; a name without '.' gives "").
QString NomeBanco(const QString& origem);

// "TBckp"/"TRest" + system tag + database name.
QByteArray ChaveDuracao(const char* prefixo, const QString& tag, const QString& nomeBanco);

// What the run sequence reads at the start of a run, in its order.
struct ConfiguracaoExecucao {
    int Copias = 365;
    QString GBAK;
    QString Host = QStringLiteral("localhost:");
    QString Origem;
    QString Destino;
    QString Log;
    QString Rede;
    bool Restaura = true;
    bool Servico = true;
    bool Alerta = true;
    QString EmailDest;
    QString FTPHost;
};
ConfiguracaoExecucao LeConfiguracaoExecucao(const QString& arquivo);

// Every setting as the settings window holds it. Passwords are the stored
// (scrambled) bytes; ports are the text as typed.
struct ConfiguracaoJanela {
    QString GBAK;
    QString Host = QStringLiteral("localhost:");
    QString Origem;
    QString Destino;
    int Copias = 365;
    QString Log;
    QString Rede;
    bool Restaura = true;
    bool Servico = true;
    bool Alerta = true;
    QString EmailSMTP;
    QString EmailUser;
    QByteArray EmailPass;
    QString EmailPort = QStringLiteral("587");
    bool EmailAute = true;
    QString EmailFrom;
    QString EmailDest;
    QString EmailAssu;
    QString FTPHost;
    QString FTPUser;
    QByteArray FTPPass;
    QString FTPPort = QStringLiteral("21");
    QString FTPDir;
    bool FTPAtiv = false;
};
ConfiguracaoJanela LeConfiguracaoJanela(const QString& arquivo);

// Normalises Host (appends ':') and Destino, Log, Rede (append the platform
// separator when they end in neither '/' nor '\'), each only when not empty, in
// place, then writes the 24 keys in the settings window's order. Copias is written
// as a floating number. Throws Erro when a write is refused; keys already written
// stay written.
void GravaConfiguracaoJanela(const QString& arquivo, ConfiguracaoJanela& valores);
