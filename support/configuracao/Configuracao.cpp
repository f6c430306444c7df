#include "configuracao/Configuracao.h"

#include "configuracao/Cripto.h"
#include "configuracao/IniFile.h"
#include "configuracao/SenhaGuardada.h"
#include "plataforma/TextoLocal.h"

#include <QCoreApplication>
#include <QDir>

#include <variant>

namespace {

using Campo = std::variant<QString Configuracao::*, int Configuracao::*, bool Configuracao::*,
                           QByteArray Configuracao::*>;

struct DefinicaoChave {
    const char* nome;
    Campo campo;
    const char* padrao;  // a password's default is in clear
};

// Every key, in the settings window's order. Integers are written as floating
// numbers (only Copias is one); QByteArray fields are passwords.
const DefinicaoChave Chaves[] = {
    {"GBAK", &Configuracao::GBAK, ""},
    {"Host", &Configuracao::Host, "localhost:"},
    {"Origem", &Configuracao::Origem, ""},
    {"Destino", &Configuracao::Destino, ""},
    {"Copias", &Configuracao::Copias, "365"},
    {"Log", &Configuracao::Log, ""},
    {"Rede", &Configuracao::Rede, ""},
    {"Restaura", &Configuracao::Restaura, "1"},
    {"Servico", &Configuracao::Servico, "1"},
    {"Alerta", &Configuracao::Alerta, "1"},
    {"EmailSMTP", &Configuracao::EmailSMTP, ""},
    {"EmailUser", &Configuracao::EmailUser, ""},
    {"EmailPass", &Configuracao::EmailPass, ""},
    {"EmailPort", &Configuracao::EmailPort, "587"},
    {"EmailAute", &Configuracao::EmailAute, "1"},
    {"EmailFrom", &Configuracao::EmailFrom, ""},
    {"EmailDest", &Configuracao::EmailDest, ""},
    {"EmailAssu", &Configuracao::EmailAssu, ""},
    {"FTPHost", &Configuracao::FTPHost, ""},
    {"FTPUser", &Configuracao::FTPUser, ""},
    {"FTPPass", &Configuracao::FTPPass, ""},
    {"FTPPort", &Configuracao::FTPPort, "21"},
    {"FTPDir", &Configuracao::FTPDir, ""},
    {"FTPAtiv", &Configuracao::FTPAtiv, "0"},
    // Installations made before it existed used this account password.
    {"SYSDBAPass", &Configuracao::SYSDBAPass, "bluefjord"},
};

const QByteArray Secao(SecaoSistema);

template <class... F>
struct Visitante : F... {
    using F::operator()...;
};
template <class... F>
Visitante(F...) -> Visitante<F...>;

// Fills the field from the stored value, or from the default when `valor` is null.
void Le(Configuracao& c, const DefinicaoChave& d, const QByteArray& valor)
{
    const QByteArray padrao(d.padrao);
    const bool ausente = valor.isNull();
    std::visit(Visitante{
                   [&](QString Configuracao::*f) { c.*f = DeTextoLocal(ausente ? padrao : valor); },
                   [&](int Configuracao::*f) { c.*f = LeInteiro(valor, padrao.toInt()); },
                   [&](bool Configuracao::*f) { c.*f = LeInteiro(valor, padrao.toInt()) != 0; },
                   [&](QByteArray Configuracao::*f) {
                       c.*f = ausente ? padrao : Cripto("D", DeFormaGuardada(valor));
                   },
               },
               d.campo);
}

void Grava(TIniFile& ini, const Configuracao& c, const DefinicaoChave& d)
{
    std::visit(Visitante{
                   [&](QString Configuracao::*f) { ini.WriteString(Secao, d.nome, ParaTextoLocal(c.*f)); },
                   [&](int Configuracao::*f) { ini.WriteFloat(Secao, d.nome, c.*f); },
                   [&](bool Configuracao::*f) { ini.WriteBool(Secao, d.nome, c.*f); },
                   [&](QByteArray Configuracao::*f) {
                       ini.WriteString(Secao, d.nome, FormaGuardada(Cripto("C", c.*f)));
                   },
               },
               d.campo);
}

bool TerminaEmSeparador(const QString& caminho)
{
    return caminho.endsWith(QLatin1Char('/')) || caminho.endsWith(QLatin1Char('\\'));
}

void CompletaPasta(QString& caminho)
{
    if (!caminho.isEmpty() && !TerminaEmSeparador(caminho))
        caminho += QDir::separator();
}

} // namespace

Configuracao::Configuracao()
{
    for (const DefinicaoChave& d : Chaves)
        Le(*this, d, QByteArray());
}

int Configuracao::PortaEmail() const { return LeInteiro(ParaTextoLocal(EmailPort), 587); }
int Configuracao::PortaFTP() const { return LeInteiro(ParaTextoLocal(FTPPort), 21); }

QStringList NomesDasChaves()
{
    QStringList nomes;
    for (const DefinicaoChave& d : Chaves)
        nomes << QLatin1String(d.nome);
    return nomes;
}

QString ArquivoConfiguracao()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QStringLiteral("CONFIG.ini");
}

QString NomeBanco(const QString& origem)
{
    const qsizetype barra = std::max(origem.lastIndexOf(QLatin1Char('/')), origem.lastIndexOf(QLatin1Char('\\')));
    const QString arquivo = origem.mid(barra + 1);
    const qsizetype ponto = arquivo.indexOf(QLatin1Char('.'));
    if (ponto < 0)
        return {};
    return arquivo.left(ponto);
}

QByteArray ChaveDuracao(const char* prefixo, const QString& tag, const QString& nomeBanco)
{
    return QByteArray(prefixo) + ParaTextoLocal(tag) + ParaTextoLocal(nomeBanco);
}

Configuracao LeConfiguracao(const QString& arquivo)
{
    const TIniFile ini(arquivo);
    Configuracao c;
    for (const DefinicaoChave& d : Chaves)
        Le(c, d, ini.ReadString(Secao, d.nome, QByteArray()));
    return c;
}

void GravaConfiguracao(const QString& arquivo, Configuracao& v)
{
    if (!v.Host.isEmpty() && !v.Host.endsWith(QLatin1Char(':')))
        v.Host += QLatin1Char(':');
    CompletaPasta(v.Destino);
    CompletaPasta(v.Log);
    CompletaPasta(v.Rede);

    // One write per key: each stands on its own, so a refusal halfway leaves the
    // keys before it saved and the file whole.
    TIniFile ini(arquivo);
    for (const DefinicaoChave& d : Chaves)
        Grava(ini, v, d);
}

QString PastaDoServidor(const QString& pasta)
{
    if (pasta.isEmpty() || TerminaEmSeparador(pasta))
        return pasta;
    // A server path written the Windows way keeps its own separator.
    const bool windows = pasta.contains(QLatin1Char('\\')) && !pasta.contains(QLatin1Char('/'));
    return pasta + (windows ? QLatin1Char('\\') : QLatin1Char('/'));
}

QString PastaDeUso(const QString& pasta, const QString& pastaPrograma)
{
    if (pasta.isEmpty())
        return pasta;
    const QString base = QDir::fromNativeSeparators(pastaPrograma);
    QString caminho = QDir::isRelativePath(QDir::fromNativeSeparators(pasta))
        ? QDir::cleanPath(QDir(base).absoluteFilePath(QDir::fromNativeSeparators(pasta)))
        : pasta;
    if (caminho != pasta)
        caminho = QDir::toNativeSeparators(caminho);
    return PastaDoServidor(caminho);
}
