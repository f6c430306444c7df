#pragma once
// The settings of section "Sistema" of CONFIG.ini. One table (Configuracao.cpp)
// names every key with its default and the field that holds it; both programs
// read and write the file through it.
#include <QByteArray>
#include <QString>
#include <QStringList>

inline constexpr const char* SecaoSistema = "Sistema";

// Program folder + "CONFIG.ini".
QString ArquivoConfiguracao();

// Database name of an Origem path: text after the last '/' or '\', cut before its
// first '.' (C:\Dados\BASE.FDB gives BASE; a name without '.' gives "").
QString NomeBanco(const QString& origem);

// "TBckp"/"TRest" + system tag + database name.
QByteArray ChaveDuracao(const char* prefixo, const QString& tag, const QString& nomeBanco);

// Every setting, as typed in the settings window. Passwords are held in clear:
// they are scrambled only on their way into the file. Ports stay texts as typed
// ("0x24B" is shown as such); PortaEmail/PortaFTP read them as numbers.
// A default-constructed value holds every default.
struct Configuracao {
    Configuracao();

    QString GBAK;
    QString Host;
    QString Origem;
    QString Destino;
    int Copias = 0;
    QString Log;
    QString Rede;
    bool Restaura = false;
    bool Servico = false;
    bool Alerta = false;
    QString EmailSMTP;
    QString EmailUser;
    QByteArray EmailPass;
    QString EmailPort;
    bool EmailAute = false;
    QString EmailFrom;
    QString EmailDest;
    QString EmailAssu;
    QString FTPHost;
    QString FTPUser;
    QByteArray FTPPass;
    QString FTPPort;
    QString FTPDir;
    bool FTPAtiv = false;
    // The database administrator's password gbak logs in with.
    QByteArray SYSDBAPass;

    int PortaEmail() const;
    int PortaFTP() const;
};

// The key names in the order the settings window writes them.
QStringList NomesDasChaves();

// Reads every key; an absent key keeps its default, a present empty one is empty.
Configuracao LeConfiguracao(const QString& arquivo);

// Normalises Host (appends ':') and Destino, Log, Rede (append the platform
// separator when they end in neither '/' nor '\'), each only when not empty, in
// place, then writes every key in order, passwords scrambled. Copias is written as
// a floating number. Throws Erro when a write is refused; keys already written
// stay written.
void GravaConfiguracao(const QString& arquivo, Configuracao& valores);

// A folder setting as the runner uses it: a relative folder is taken from
// `pastaPrograma`, and a final separator is added when it has none. Empty stays
// empty.
QString PastaDeUso(const QString& pasta, const QString& pastaPrograma);
// The same for the folder as the database server sees it: only the separator,
// since the server, not this machine, resolves it.
QString PastaDoServidor(const QString& pasta);
