#include "BackupBase.h"

#include "Caminhos.h"
#include "Compacta.h"
#include "Configuracao.h"
#include "Controles.h"
#include "CopiaArquivo.h"
#include "Erro.h"
#include "ExecutaGbak.h"
#include "IniFile.h"
#include "PapeisPastas.h"
#include "Pausa.h"
#include "Plataforma.h"
#include "Poda.h"
#include "RelatorioGbak.h"
#include "TesteRestauracao.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

// Gives the status label back the visibility it had when the procedure took it.
class VisibilidadeRotulo {
public:
    explicit VisibilidadeRotulo(Rotulo& r) : rotulo_(r), visivel_(r.visivel()) {}
    void devolve() { rotulo_.defineVisivel(visivel_); }

private:
    Rotulo& rotulo_;
    bool visivel_;
};

// Copies and only then deletes the source: a copy that failed throws and leaves
// the source where it was.
void MoveArquivo(const QString& origem, const QString& destino)
{
    CopiaArquivo(origem, destino);
    QFile::remove(origem);
}

QString TextoDoErro(const std::exception& e)
{
    if (auto* erro = dynamic_cast<const Erro*>(&e))
        return erro->texto();
    return QString::fromLocal8Bit(e.what());
}

}

void BackupBase(Memo& memo, const QString& sistema, const QString& host, const QString& origem,
                const QString& arqBackup, const QString& pastaLog, const QString& pastaDestino,
                const QString& pastaRede, const QString& arqLog, Rotulo& rotulo, Barra& barra, bool restaura,
                bool servico, bool compacta, int copias, QString& mensagem)
{
    mensagem.clear();
    PecasComando pecas;

    if (LocalizaPrograma(QStringLiteral("gbak")).isEmpty()) {
        mensagem = QStringLiteral("Ferramenta para backup não localizada.");
        return;
    }

    const PapeisPastas papeis = DefinePapeis(pastaDestino, pastaLog, pastaRede, PastaPrograma());
    if (!VerificaPasta(papeis.pastaObservada)) {
        mensagem = QStringLiteral("Não foi possível acessar a pasta / compartilhamento para cópia.");
        return;
    }
    if (!VerificaPasta(papeis.pastaDestino)) {
        mensagem = QStringLiteral("Não foi possível acessar a pasta destino para cópia.");
        return;
    }
    GaugeAtual = &barra;
    // The bar is only lent for this call.
    struct DevolveBarra {
        ~DevolveBarra() { GaugeAtual = nullptr; }
    } devolveBarra;

    // Old archives are pruned only once the new one is safely in the destination
    // folder (below), so a failed run never deletes a good copy.

    pecas.servico = servico ? QStringLiteral("-se ") + host + QStringLiteral("service_mgr") : QString();
    pecas.banco = servico ? Aspas(origem) : Aspas(host + origem);
    const QString banco = NomeBanco(origem);

    // The configuration stays open (as an object) for the whole call; each access
    // reads or replaces the file on its own.
    std::optional<TIniFile> config;
    int esperadosBackup = 0, esperadosRestauracao = 0;
    const QByteArray chaveTBckp = ChaveDuracao("TBckp", sistema, banco);
    const QByteArray chaveTRest = ChaveDuracao("TRest", sistema, banco);
    if (!sistema.isEmpty()) {
        // CONFIG.ini by its exact name: on a case-sensitive file system
        // "config.ini" would be another file.
        config.emplace(ArquivoConfiguracao());
        esperadosBackup = config->ReadInteger(SecaoSistema, chaveTBckp, 0);
        esperadosRestauracao = config->ReadInteger(SecaoSistema, chaveTRest, 0);
    }

    const QString relatorio = papeis.pastaObservada + arqLog;
    if (!arqLog.isEmpty()) {
        QFile::remove(relatorio);
        pecas.log = QStringLiteral("-v -y ") + Aspas(papeis.pastaGbak + arqLog);
    }
    pecas.backup = Aspas(papeis.pastaGbak + arqBackup);

    VisibilidadeRotulo visibilidade(rotulo);
    rotulo.defineVisivel(true);
    rotulo.defineTexto(QStringLiteral("Cópia segurança - "));

    const QString linha = QStringLiteral("gbak ") + QLatin1String(ContaGbak) + pecas.log + QLatin1Char(' ')
        + pecas.servico + QLatin1Char(' ') + pecas.banco + QLatin1Char(' ') + pecas.backup;
    const int medidosBackup = ExecutaGbak(linha, esperadosBackup, rotulo);
    const int saidaBackup = GbakSaida;

    rotulo.defineTexto(QStringLiteral("Aguardando retorno cópia..."));
    Bombeia();
    AguardaArquivo(relatorio);

    const QString backupObservado = papeis.pastaObservada + arqBackup;
    if (!QFileInfo(backupObservado).isFile()) {
        QFile::remove(relatorio);
        visibilidade.devolve();
        mensagem = QStringLiteral("Backup NÃO FOI realizado!");
        return;
    }
    Pausa(5000);

    try {
        if (RelatorioTemErro(CarregaRelatorio(memo, relatorio))) {
            // Backup and report stay in the watch folder for inspection.
            visibilidade.devolve();
            mensagem = QStringLiteral("Detectado erro no registro da cópia.");
            return;
        }
        // A gbak that crashed or was killed leaves a report with no error in it
        // and a truncated backup: its own exit code is the only witness.
        if (const QString falha = FalhaDoGbak(saidaBackup); !falha.isEmpty()) {
            visibilidade.devolve();
            mensagem = falha;
            return;
        }
        if (config)
            config->WriteInteger(SecaoSistema, chaveTBckp, medidosBackup);

        if (restaura)
            TesteRestauracao({papeis, pecas, arqBackup, arqLog, esperadosRestauracao, rotulo, memo,
                              config ? &*config : nullptr, chaveTRest},
                             mensagem);

        if (mensagem.isEmpty()) {
            if (papeis.moveAntes) {
                rotulo.defineTexto(QStringLiteral("Copiando arquivo..."));
                Bombeia();
                MoveArquivo(backupObservado, papeis.pastaDestino + arqBackup);
            }
            const QString arquivoZip = arqBackup + QStringLiteral(".zip");
            if (compacta) {
                rotulo.defineTexto(QStringLiteral("Compactando arquivo..."));
                Bombeia();
                Compacta(papeis.pastaArquivo + arqBackup, papeis.pastaArquivo + arquivoZip);
            }
            QFile::remove(relatorio);
            if (papeis.moveDepois) {
                rotulo.defineTexto(QStringLiteral("Copiando arquivo..."));
                Bombeia();
                MoveArquivo(papeis.pastaArquivo + arquivoZip, papeis.pastaDestino + arquivoZip);
            }
            if (copias > 0)
                ApagaAntigos(papeis.pastaDestino, QStringLiteral("zip"), copias, arquivoZip);
        }
    } catch (const std::exception& e) {
        mensagem = TextoDoErro(e);
    }

    QFile::remove(relatorio);
    visibilidade.devolve();
}
