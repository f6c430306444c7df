#include "core/Restauracao.h"

#include "core/ArquivoZip.h"
#include "gbak/ExecutaOculto.h"
#include "gbak/RelatorioGbak.h"
#include "plataforma/Caminhos.h"
#include "plataforma/Plataforma.h"
#include "plataforma/TextoLocal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString SemAspas(QString texto) { return texto.remove(QLatin1Char('"')); }

QByteArray Linha(const QString& texto) { return ParaTextoLocal(texto) + '\n'; }

void Etapa(const PedidoRestauracao& p, const QString& texto)
{
    if (p.etapa)
        p.etapa(texto);
}

ResultadoRestauracao Falha(QByteArray relatorio)
{
    return ResultadoRestauracao{false, std::move(relatorio)};
}

// The backup file to hand to gbak: the file itself, or the last file the archive
// held, unpacked into the scratch folder. Empty with `erro` set when there is none.
QString BackupDoPedido(const PedidoRestauracao& p, const QString& backup, QString& erro)
{
    if (!QFileInfo(backup).isFile()) {
        erro = QStringLiteral("Arquivo de backup não encontrado: %1").arg(backup);
        return {};
    }
    if (!EhArquivoZip(backup))
        return backup;
    Etapa(p, QStringLiteral("[ Descompactando arquivo ]"));
    const QString pasta = p.pastaPrograma + QStringLiteral("Restaura");
    LimpaPasta(pasta);
    const Extracao extracao = ExtraiArquivo(backup, pasta);
    if (!extracao.erro.isEmpty()) {
        erro = extracao.erro;
        return {};
    }
    if (extracao.arquivos.isEmpty()) {
        erro = QStringLiteral("O arquivo compactado %1 não contém nenhum arquivo.").arg(backup);
        return {};
    }
    return extracao.arquivos.last();
}

struct Execucao {
    bool ok = false;
    QByteArray relatorio;
};

// One gbak run, judged by its report and its exit code.
Execucao ExecutaRestauracao(const PedidoRestauracao& p, const QString& backup, const QString& banco)
{
    const QString relatorio = p.pastaPrograma + QStringLiteral("restore.log");
    QFile::remove(relatorio);
    const ComandoGbak comando = ComandoRestauracao(p, backup, banco, relatorio);
    const int saida = ExecutaGbakOculto(comando);

    Execucao e;
    if (saida == ProcessoNaoIniciado) {
        e.relatorio = Linha(comando.programa.isEmpty()
                                ? QStringLiteral("Ferramenta gbak não localizada: informe o utilitário Gbak na configuração.")
                                : QStringLiteral("Não foi possível executar a ferramenta gbak: %1").arg(comando.programa));
        return e;
    }
    QFile arquivo(relatorio);
    const bool temRelatorio = QFileInfo(relatorio).isFile() && arquivo.open(QIODevice::ReadOnly);
    if (temRelatorio)
        e.relatorio = arquivo.readAll();
    const QString falha = FalhaDoGbak(saida);
    e.ok = temRelatorio && saida == 0 && !RelatorioTemErro(e.relatorio);
    if (!falha.isEmpty())
        e.relatorio += Linha(falha);
    if (!temRelatorio)
        e.relatorio += Linha(QStringLiteral("O gbak não gerou o registro %1.").arg(relatorio));
    return e;
}

// An empty prefix or one naming this machine: the database path is a path here.
bool ServidorLocal(const QString& host)
{
    const QString h = host.trimmed().toLower();
    return h.isEmpty() || h.startsWith(QLatin1String("localhost")) || h.startsWith(QLatin1String("127.0.0.1"));
}

}  // namespace

QString BancoProvisorio(const QString& banco) { return banco + QStringLiteral(".restaura.tmp"); }

QString ProgramaGbak(const QString& gbak)
{
    const QString nome = SemAspas(gbak).trimmed();
    return nome.isEmpty() ? LocalizaPrograma(QStringLiteral("gbak")) : nome;
}

ComandoGbak ComandoRestauracao(const PedidoRestauracao& p, const QString& backup, const QString& banco,
                               const QString& relatorio)
{
    QString argumentos = QStringLiteral("-r -rep -v -y ") + Aspas(relatorio) + QStringLiteral(" -p 4096 ");
    if (p.correcaoVersao)
        argumentos += QStringLiteral("-fix_fss_m ISO8859_1 ");
    argumentos += Aspas(backup) + QLatin1Char(' ') + Aspas(p.host + banco);
    return ComandoGbak{ProgramaGbak(p.gbak), argumentos, p.senha};
}

ResultadoRestauracao Restaura(const PedidoRestauracao& p)
{
    const QString backupDigitado = SemAspas(p.backup);
    const QString banco = SemAspas(p.banco);
    if (banco.trimmed().isEmpty())
        return Falha(Linha(QStringLiteral("Informe o nome da base de dados.")));

    QString erro;
    const QString backup = BackupDoPedido(p, backupDigitado, erro);
    if (backup.isEmpty())
        return Falha(Linha(erro));

    // The proof: the existing database is not touched until the backup has been
    // restored in full somewhere else.
    Etapa(p, QStringLiteral("[ Validando backup ]"));
    const QString provisorio = BancoProvisorio(banco);
    const Execucao prova = ExecutaRestauracao(p, backup, provisorio);
    // It is as large as the database. Reachable from here only when the server is
    // this machine; on another server the next restore's -rep replaces it.
    const bool local = ServidorLocal(p.host);
    if (!prova.ok) {
        if (local)
            QFile::remove(provisorio);
        return Falha(prova.relatorio
                     + Linha(QStringLiteral("O backup não pôde ser restaurado: a base de dados existente não foi alterada.")));
    }

    Etapa(p, QStringLiteral("[ Restaurando Base de Dados ]"));
    Execucao final = ExecutaRestauracao(p, backup, banco);
    // A restore that fails over the database (a full disk, the server stopping)
    // can leave it half written: the proven copy is then the only whole one, and
    // stays.
    if (!final.ok)
        final.relatorio += Linha(QStringLiteral("A base restaurada e validada foi mantida em %1.").arg(provisorio));
    else if (local)
        QFile::remove(provisorio);
    return ResultadoRestauracao{final.ok, final.relatorio};
}
