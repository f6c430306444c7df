#include "Execucao.h"

#include "configuracao/Configuracao.h"
#include "plataforma/DataHora.h"
#include "plataforma/Erro.h"
#include "plataforma/TextoLocal.h"

#include <QFile>
#include <QFileInfo>

QString NomeBaseExecucao(const QString& origem, const QDateTime& momento)
{
    return NomeBanco(origem) + momento.toString(QStringLiteral("-dd-MM-yyyy-HHmm"));
}

Configuracao ConfiguracaoDaExecucao(const QString& arquivo, const QString& pastaPrograma)
{
    Configuracao cfg = LeConfiguracao(arquivo);
    cfg.Destino = PastaDeUso(cfg.Destino, pastaPrograma);
    cfg.Rede = PastaDeUso(cfg.Rede, pastaPrograma);
    cfg.Log = PastaDoServidor(cfg.Log);
    return cfg;
}

QString VerificaConfiguracao(const Configuracao& cfg)
{
    if (cfg.GBAK.isEmpty() || !QFileInfo(cfg.GBAK).isFile())
        return QStringLiteral("Ferramenta para backup não localizada.");
    if (cfg.Destino.isEmpty())
        return QStringLiteral("Necessário informar pasta de destino.");
    if (!QFileInfo(cfg.Destino).isDir())
        return QStringLiteral("Pasta destino não acessível.");
    if (cfg.Rede.isEmpty() != cfg.Log.isEmpty())
        return QStringLiteral("Informações incompletas para backup em rede.");
    if (!cfg.Rede.isEmpty() && !QFileInfo(cfg.Rede).isDir())
        return QStringLiteral("Pasta da rede não está acessível.");
    return {};
}

bool ExecucaoFalhou(const QString& mensagem, const QString& statusFTP, const QString& statusEmail)
{
    return !mensagem.isEmpty() || (!statusFTP.isEmpty() && statusFTP != QStringLiteral("; FTP OK"))
        || (!statusEmail.isEmpty() && statusEmail != QStringLiteral("; Email OK"));
}

QString TextoResultado(const QString& mensagem, const QString& statusFTP, const QString& statusEmail,
                       const QDateTime& inicio)
{
    if (!ExecucaoFalhou(mensagem, statusFTP, statusEmail))
        return QStringLiteral(" - OK - Executado com sucesso") + statusEmail + statusFTP + QStringLiteral("; iniciado ")
            + FormatoC(inicio);
    const QString texto = mensagem.isEmpty() ? QStringLiteral("Local OK") : mensagem;
    return QStringLiteral(" - FALHA - ") + texto + statusFTP + statusEmail;
}

QString TextoAlerta(const QString& mensagem, const QString& statusFTP, const QString& statusEmail)
{
    const QString texto = mensagem.isEmpty() ? QStringLiteral("Local OK") : mensagem;
    return QStringLiteral("Erro no backup diário: ") + texto + statusFTP + statusEmail;
}

void AcrescentaRegistro(const QString& arquivo, const QDateTime& agora, const QString& resultado)
{
    QFile registro(arquivo);
    if (!registro.open(QIODevice::WriteOnly | QIODevice::Append))
        throw Erro(QStringLiteral("Impossível abrir arquivo %1: %2").arg(arquivo, registro.errorString()));
    const QByteArray linha = ParaTextoLocal(FormatoC(agora) + QStringLiteral(" - Base ") + resultado) + "\r\n";
    if (registro.write(linha) != linha.size() || !registro.flush())
        throw Erro(QStringLiteral("Erro de gravação em %1: %2").arg(arquivo, registro.errorString()));
    registro.close();
    if (registro.error() != QFileDevice::NoError)
        throw Erro(QStringLiteral("Erro de gravação em %1: %2").arg(arquivo, registro.errorString()));
}
