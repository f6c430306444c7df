#include "procedimento/BackupBase.h"

#include "arquivos/CompactacaoAntecipada.h"
#include "arquivos/Compacta.h"
#include "arquivos/CopiaArquivo.h"
#include "arquivos/Poda.h"
#include "configuracao/Configuracao.h"
#include "configuracao/IniFile.h"
#include "gbak/ExecutaGbak.h"
#include "gbak/RelatorioGbak.h"
#include "plataforma/Caminhos.h"
#include "plataforma/Controles.h"
#include "plataforma/Erro.h"
#include "plataforma/Pausa.h"
#include "plataforma/Plataforma.h"
#include "procedimento/Duracoes.h"
#include "procedimento/PapeisPastas.h"
#include "procedimento/TesteRestauracao.h"
#include "plataforma/TextoLocal.h"

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
    return DeTextoLocal(e.what());
}

}

QString BackupBase(const PedidoBackup& p)
{
    if (!Executavel(p.gbak))
        return QStringLiteral("Ferramenta para backup não localizada.");

    const PapeisPastas papeis = DefinePapeis(p.pastaDestino, p.pastaLog, p.pastaRede, PastaPrograma());
    if (!VerificaPasta(papeis.pastaObservada))
        return QStringLiteral("Não foi possível acessar a pasta / compartilhamento para cópia.");
    if (!VerificaPasta(papeis.pastaDestino))
        return QStringLiteral("Não foi possível acessar a pasta destino para cópia.");

    // Old archives are pruned only once the new one is safely in the destination
    // folder (below), so a failed run never deletes a good copy.

    PecasComando pecas;
    pecas.servico = p.servico ? QStringLiteral("-se ") + p.host + QStringLiteral("service_mgr") : QString();
    pecas.banco = p.servico ? Aspas(p.origem) : Aspas(p.host + p.origem);
    const QString banco = NomeBanco(p.origem);

    Duracoes duracoes(p.sistema, banco);

    const QString relatorio = papeis.pastaObservada + p.arqLog;
    if (!p.arqLog.isEmpty()) {
        QFile::remove(relatorio);
        pecas.log = QStringLiteral("-v -y ") + Aspas(papeis.pastaGbak + p.arqLog);
    }
    pecas.backup = Aspas(papeis.pastaGbak + p.arqBackup);

    VisibilidadeRotulo visibilidade(p.rotulo);
    p.rotulo.defineVisivel(true);
    p.rotulo.defineTexto(QStringLiteral("Cópia segurança - "));

    const ComandoGbak comando{p.gbak, pecas.log + QLatin1Char(' ') + pecas.servico + QLatin1Char(' ') + pecas.banco
                                          + QLatin1Char(' ') + pecas.backup,
                              p.senha};
    const ResultadoGbak backup = ExecutaGbak(comando, duracoes.backup(), p.rotulo, p.barra);

    p.rotulo.defineTexto(QStringLiteral("Aguardando retorno cópia..."));
    Bombeia();
    AguardaArquivo(relatorio);

    const QString backupObservado = papeis.pastaObservada + p.arqBackup;
    if (!QFileInfo(backupObservado).isFile()) {
        QFile::remove(relatorio);
        visibilidade.devolve();
        return QStringLiteral("Backup NÃO FOI realizado!");
    }
    Pausa(5000);

    QString mensagem;
    try {
        // Kept, read, for the test restore to reconcile against.
        const QByteArray relatorioBackup = CarregaRelatorio(p.memo, relatorio);
        if (RelatorioTemErro(relatorioBackup)) {
            // Backup and report stay in the watch folder for inspection.
            visibilidade.devolve();
            return QStringLiteral("Detectado erro no registro da cópia.");
        }
        // A gbak that crashed or was killed leaves a report with no error in it
        // and a truncated backup: its own exit code is the only witness.
        if (const QString falha = FalhaDoGbak(backup.saida); !falha.isEmpty()) {
            visibilidade.devolve();
            return falha;
        }
        duracoes.gravaBackup(backup.segundos);

        const QString arquivoZip = p.arqBackup + QStringLiteral(".zip");
        // While gbak restores the scratch database from the backup, the archive
        // is built from the same file on the other cores; it is kept only if the
        // restore passes. Where the backup must first travel to the destination
        // (moveAntes), the steps stay in their order.
        std::optional<CompactacaoAntecipada> antecipada;
        if (p.restaura && p.compacta && !papeis.moveAntes)
            antecipada.emplace(papeis.pastaArquivo + p.arqBackup, papeis.pastaArquivo + arquivoZip);

        if (p.restaura)
            mensagem = TesteRestauracao({papeis, pecas, p.gbak, p.senha, p.arqBackup, p.arqLog, relatorioBackup, duracoes,
                                         p.rotulo, p.barra, p.memo});

        if (mensagem.isEmpty()) {
            if (papeis.moveAntes) {
                p.rotulo.defineTexto(QStringLiteral("Copiando arquivo..."));
                Bombeia();
                MoveArquivo(backupObservado, papeis.pastaDestino + p.arqBackup);
            }
            if (p.compacta) {
                p.rotulo.defineTexto(QStringLiteral("Compactando arquivo..."));
                Bombeia();
                if (antecipada)
                    antecipada->Publica();
                else
                    Compacta(papeis.pastaArquivo + p.arqBackup, papeis.pastaArquivo + arquivoZip);
            }
            QFile::remove(relatorio);
            if (papeis.moveDepois) {
                p.rotulo.defineTexto(QStringLiteral("Copiando arquivo..."));
                Bombeia();
                MoveArquivo(papeis.pastaArquivo + arquivoZip, papeis.pastaDestino + arquivoZip);
            }
            if (p.copias > 0)
                ApagaAntigos(papeis.pastaDestino, PadraoArquivos(banco), p.copias, arquivoZip);
        }
    } catch (const std::exception& e) {
        mensagem = TextoDoErro(e);
    }

    QFile::remove(relatorio);
    visibilidade.devolve();
    return mensagem;
}
