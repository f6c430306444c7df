#include "TesteRestauracao.h"

#include "BackupBase.h"
#include "Caminhos.h"
#include "Controles.h"
#include "ExecutaGbak.h"
#include "IniFile.h"
#include "Configuracao.h"
#include "PapeisPastas.h"
#include "Pausa.h"
#include "RelatorioGbak.h"

#include <QFile>

QString ArquivoTeste(const QString& arqBackup) { return arqBackup + QStringLiteral(".tst"); }

void TesteRestauracao(const EtapaRestauracao& e, QString& mensagem)
{
    const QString relatorio = e.papeis.pastaObservada + e.arqLog;
    QFile::remove(relatorio);
    e.rotulo.defineTexto(QStringLiteral("Análise cópia - "));

    const QString pecaTeste = Aspas(e.papeis.pastaGbak + ArquivoTeste(e.arqBackup));
    const QString linha = QStringLiteral("gbak -r -rep -p 4096 ") + QLatin1String(ContaGbak) + e.pecas.log
        + QLatin1Char(' ') + e.pecas.servico + QLatin1Char(' ') + e.pecas.backup + QLatin1Char(' ') + pecaTeste;
    const int medidos = ExecutaGbak(linha, e.segundosEsperados, e.rotulo);
    const int saida = GbakSaida;

    e.rotulo.defineTexto(QStringLiteral("Aguardando retorno análise..."));
    Bombeia();
    if (!AguardaArquivo(relatorio))
        mensagem = QStringLiteral("Análise NÃO FOI realizada!");
    Pausa(5000);

    try {
        // A restore that gbak itself reports as failed fails the stage even when
        // its report was cut short before any error was written.
        if (RelatorioTemErro(CarregaRelatorio(e.memo, relatorio)) || (mensagem.isEmpty() && saida != 0))
            mensagem = QStringLiteral("Detectado erro na restauração do backup.");
        QFile::remove(e.papeis.pastaObservada + ArquivoTeste(e.arqBackup));
        if (e.config)
            e.config->WriteInteger(SecaoSistema, e.chaveTRest, medidos);
    } catch (...) {
        // The stage reports through the message only; the report is cleaned up.
        QFile::remove(relatorio);
    }
}
