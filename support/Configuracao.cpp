#include "Configuracao.h"

#include "IniFile.h"

#include <QCoreApplication>
#include <QDir>

namespace {

const QByteArray Secao(SecaoSistema);

// Texts in the file are in the local 8-bit encoding, as the Windows programs that
// share the file have always written them.
QString LeTexto(const TIniFile& ini, const char* chave, const QString& padrao)
{
    return QString::fromLocal8Bit(ini.ReadString(Secao, chave, padrao.toLocal8Bit()));
}

void GravaTexto(TIniFile& ini, const char* chave, const QString& valor)
{
    ini.WriteString(Secao, chave, valor.toLocal8Bit());
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
    return QByteArray(prefixo) + tag.toLocal8Bit() + nomeBanco.toLocal8Bit();
}

ConfiguracaoExecucao LeConfiguracaoExecucao(const QString& arquivo)
{
    const TIniFile ini(arquivo);
    ConfiguracaoExecucao c;
    c.Copias = ini.ReadInteger(Secao, "Copias", 365);
    c.GBAK = LeTexto(ini, "GBAK", {});
    c.Host = LeTexto(ini, "Host", QStringLiteral("localhost:"));
    c.Origem = LeTexto(ini, "Origem", {});
    c.Destino = LeTexto(ini, "Destino", {});
    c.Log = LeTexto(ini, "Log", {});
    c.Rede = LeTexto(ini, "Rede", {});
    c.Restaura = ini.ReadBool(Secao, "Restaura", true);
    c.Servico = ini.ReadBool(Secao, "Servico", true);
    c.Alerta = ini.ReadBool(Secao, "Alerta", true);
    c.EmailDest = LeTexto(ini, "EmailDest", {});
    c.FTPHost = LeTexto(ini, "FTPHost", {});
    return c;
}

ConfiguracaoJanela LeConfiguracaoJanela(const QString& arquivo)
{
    const TIniFile ini(arquivo);
    ConfiguracaoJanela c;
    c.GBAK = LeTexto(ini, "GBAK", {});
    c.Host = LeTexto(ini, "Host", QStringLiteral("localhost:"));
    c.Origem = LeTexto(ini, "Origem", {});
    c.Destino = LeTexto(ini, "Destino", {});
    c.Copias = ini.ReadInteger(Secao, "Copias", 365);
    c.Log = LeTexto(ini, "Log", {});
    c.Rede = LeTexto(ini, "Rede", {});
    c.Restaura = ini.ReadBool(Secao, "Restaura", true);
    c.Servico = ini.ReadBool(Secao, "Servico", true);
    c.Alerta = ini.ReadBool(Secao, "Alerta", true);
    c.EmailSMTP = LeTexto(ini, "EmailSMTP", {});
    c.EmailUser = LeTexto(ini, "EmailUser", {});
    c.EmailPass = ini.ReadString(Secao, "EmailPass", {});
    // Ports stay as typed ("0x24B" is shown as such); they become numbers only
    // where they are used.
    c.EmailPort = LeTexto(ini, "EmailPort", QStringLiteral("587"));
    c.EmailAute = ini.ReadBool(Secao, "EmailAute", true);
    c.EmailFrom = LeTexto(ini, "EmailFrom", {});
    c.EmailDest = LeTexto(ini, "EmailDest", {});
    c.EmailAssu = LeTexto(ini, "EmailAssu", {});
    c.FTPHost = LeTexto(ini, "FTPHost", {});
    c.FTPUser = LeTexto(ini, "FTPUser", {});
    c.FTPPass = ini.ReadString(Secao, "FTPPass", {});
    c.FTPPort = LeTexto(ini, "FTPPort", QStringLiteral("21"));
    c.FTPDir = LeTexto(ini, "FTPDir", {});
    c.FTPAtiv = ini.ReadBool(Secao, "FTPAtiv", false);
    return c;
}

void GravaConfiguracaoJanela(const QString& arquivo, ConfiguracaoJanela& valores)
{
    ConfiguracaoJanela& v = valores;
    if (!v.Host.isEmpty() && !v.Host.endsWith(QLatin1Char(':')))
        v.Host += QLatin1Char(':');
    CompletaPasta(v.Destino);
    CompletaPasta(v.Log);
    CompletaPasta(v.Rede);

    // One write per key: each stands on its own, so a refusal halfway leaves the
    // keys before it saved and the file whole.
    TIniFile ini(arquivo);
    GravaTexto(ini, "GBAK", v.GBAK);
    GravaTexto(ini, "Host", v.Host);
    GravaTexto(ini, "Origem", v.Origem);
    GravaTexto(ini, "Destino", v.Destino);
    ini.WriteFloat(Secao, "Copias", v.Copias);
    GravaTexto(ini, "Log", v.Log);
    GravaTexto(ini, "Rede", v.Rede);
    ini.WriteBool(Secao, "Restaura", v.Restaura);
    ini.WriteBool(Secao, "Servico", v.Servico);
    ini.WriteBool(Secao, "Alerta", v.Alerta);
    GravaTexto(ini, "EmailSMTP", v.EmailSMTP);
    GravaTexto(ini, "EmailUser", v.EmailUser);
    ini.WriteString(Secao, "EmailPass", v.EmailPass);
    GravaTexto(ini, "EmailPort", v.EmailPort);
    ini.WriteBool(Secao, "EmailAute", v.EmailAute);
    GravaTexto(ini, "EmailFrom", v.EmailFrom);
    GravaTexto(ini, "EmailDest", v.EmailDest);
    GravaTexto(ini, "EmailAssu", v.EmailAssu);
    GravaTexto(ini, "FTPHost", v.FTPHost);
    GravaTexto(ini, "FTPUser", v.FTPUser);
    ini.WriteString(Secao, "FTPPass", v.FTPPass);
    GravaTexto(ini, "FTPPort", v.FTPPort);
    GravaTexto(ini, "FTPDir", v.FTPDir);
    ini.WriteBool(Secao, "FTPAtiv", v.FTPAtiv);
}
