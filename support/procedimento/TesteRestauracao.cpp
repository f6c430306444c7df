#include "procedimento/TesteRestauracao.h"

#include "gbak/ConciliacaoGbak.h"
#include "gbak/ExecutaGbak.h"
#include "gbak/RelatorioGbak.h"
#include "plataforma/Caminhos.h"
#include "plataforma/Controles.h"
#include "plataforma/Erro.h"
#include "plataforma/Pausa.h"
#include "procedimento/Duracoes.h"
#include "procedimento/PapeisPastas.h"

#include <QFile>

QString ArquivoTeste(const QString& arqBackup) { return arqBackup + QStringLiteral(".tst"); }

QString TesteRestauracao(const EtapaRestauracao& e)
{
    const QString relatorio = e.papeis.pastaObservada + e.arqLog;
    const QString teste = e.papeis.pastaObservada + ArquivoTeste(e.arqBackup);
    QFile::remove(relatorio);
    e.rotulo.defineTexto(QStringLiteral("Análise cópia - "));

    const QString pecaTeste = Aspas(e.papeis.pastaGbak + ArquivoTeste(e.arqBackup));
    const ComandoGbak comando{e.gbak,
                              QStringLiteral("-r -rep -p 4096 ") + e.pecas.log + QLatin1Char(' ') + e.pecas.servico
                                  + QLatin1Char(' ') + e.pecas.backup + QLatin1Char(' ') + pecaTeste,
                              e.senha};
    const ResultadoGbak restauracao = ExecutaGbak(comando, e.duracoes.restauracao(), e.rotulo, e.barra);

    e.rotulo.defineTexto(QStringLiteral("Aguardando retorno análise..."));
    Bombeia();
    QString mensagem;
    if (!AguardaArquivo(relatorio))
        mensagem = QStringLiteral("Análise NÃO FOI realizada!");
    Pausa(5000);

    bool relatorioLido = false;  // gbak ran to a report: its duration is worth keeping
    try {
        const QByteArray texto = CarregaRelatorio(e.memo, relatorio);
        // A restore that gbak itself reports as failed fails the stage even when
        // its report was cut short before any error was written.
        if (RelatorioTemErro(texto) || (mensagem.isEmpty() && restauracao.saida != 0)) {
            mensagem = QStringLiteral("Detectado erro na restauração do backup.");
            relatorioLido = true;
        } else if (mensagem.isEmpty()) {
            // gbak's silence is not enough: the restore must hold what was written.
            mensagem = ConfereRestauracao(e.relatorioBackup, texto);
            relatorioLido = true;
        }
    } catch (const Erro& erro) {
        // A report that cannot be read proves nothing: the restore did not pass.
        if (mensagem.isEmpty())
            mensagem = erro.texto();
    }
    // The scratch database is as large as the database itself.
    QFile::remove(teste);
    if (relatorioLido)
        e.duracoes.gravaRestauracao(restauracao.segundos);
    return mensagem;
}
