// Reconciling a test restore with its backup, on reports as Firebird 3's gbak -v
// writes them (the excerpts below are its own lines, trimmed of the metadata).
#include "gbak/ConciliacaoGbak.h"

#include <gtest/gtest.h>

namespace {

const QByteArray Backup = "gbak:readied database /srv/BASE.FDB for backup\n"
                          "gbak:writing tables\n"
                          "gbak:    writing table A\n"
                          "gbak:         writing column ID\n"
                          "gbak:    writing table Weird Name\n"
                          "gbak:writing packages\n"
                          "gbak:    writing data for table Weird Name\n"
                          "gbak:0 records written\n"
                          "gbak:    writing index IB\n"
                          "gbak:    writing data for table B\n"
                          "gbak:1 records written\n"
                          "gbak:    writing index RDB$PRIMARY1\n"
                          "gbak:    writing data for table A\n"
                          "gbak:10000 records written\n"
                          "gbak:20000 records written\n"
                          "gbak:25003 records written\n"
                          "gbak:writing triggers\n"
                          "gbak:    writing privilege for user SYSDBA\n"
                          "gbak:closing file, committing, and finishing. 2272 bytes written\n";

// The restore of that backup: the empty table's data is never listed.
const QByteArray Restauracao = "gbak:opened file /srv/x.bkp\n"
                               "gbak:restoring table A\n"
                               "gbak:    restoring column ID\n"
                               "gbak:restoring table Weird Name\n"
                               "gbak:committing metadata\n"
                               "gbak:    restoring index IB\n"
                               "gbak:restoring data for table B\n"
                               "gbak:   1 records restored\n"
                               "gbak:    restoring index RDB$PRIMARY1\n"
                               "gbak:restoring data for table A\n"
                               "gbak:   10000 records restored\n"
                               "gbak:   20000 records restored\n"
                               "gbak:   25003 records restored\n"
                               "gbak:    restoring privilege for user SYSDBA\n"
                               "gbak:finishing, closing, and going home\n"
                               "gbak:adjusting the ONLINE and FORCED WRITES flags\n";

QByteArray Troca(QByteArray texto, const QByteArray& de, const QByteArray& para) { return texto.replace(de, para); }

TEST(ConciliacaoGbak, TabelasEContagensDosDoisRelatorios)
{
    EXPECT_EQ(TabelasCopiadas(Backup), (QList<ContagemTabela>{{"Weird Name", 0}, {"B", 1}, {"A", 25003}}));
    EXPECT_EQ(TabelasRestauradas(Restauracao), (QList<ContagemTabela>{{"B", 1}, {"A", 25003}}));
    // Without the prefix, with CR LF, tabs and other spacing.
    EXPECT_EQ(TabelasCopiadas("  writing data for table T1\r\n\t12 records written\r\n"
                              "gbak: writing data for table T2\r\ngbak:   1 record written\r\n"),
              (QList<ContagemTabela>{{"T1", 12}, {"T2", 1}}));
    EXPECT_EQ(TabelasRestauradas("GBAK:RESTORING DATA FOR TABLE T1\r\n   7 records restored \r\n"),
              (QList<ContagemTabela>{{"T1", 7}}));
    // Count lines before any table, and a table cut short before its count.
    EXPECT_EQ(TabelasRestauradas("gbak:   9 records restored\ngbak:restoring data for table C\n"),
              (QList<ContagemTabela>{{"C", 0}}));
}

TEST(ConciliacaoGbak, VeredictoDaRestauracao)
{
    const struct {
        const char* nome;
        QByteArray backup;
        QByteArray restauracao;
        QString mensagem;
    } casos[] = {
        {"contagens iguais", Backup, Restauracao, {}},
        {"sem tabelas nos relatórios", "gbak:readied database x for backup\n", "gbak:finishing, closing, and going home\n", {}},
        {"última contagem menor", Backup, Troca(Restauracao, "   25003 records restored", "   24999 records restored"),
         QStringLiteral("Restauração de teste divergente na tabela A: 25003 registros na cópia, 24999 restaurados.")},
        {"só as contagens parciais", Backup, Troca(Restauracao, "gbak:   25003 records restored\n", ""),
         QStringLiteral("Restauração de teste divergente na tabela A: 25003 registros na cópia, 20000 restaurados.")},
        {"tabela ausente", Backup, Troca(Restauracao, "gbak:restoring data for table B\ngbak:   1 records restored\n", ""),
         QStringLiteral("Tabela B ausente na restauração de teste: 1 registro na cópia, 0 restaurados.")},
        {"tabela vazia ausente é normal", Backup, Restauracao, {}},
        {"duas divergências", Backup,
         Troca(Troca(Restauracao, "   1 records restored", "   0 records restored"), "   25003 records", "   3 records"),
         QStringLiteral("Restauração de teste divergente na tabela B: 1 registro na cópia, 0 restaurados. Mais uma tabela diverge.")},
        {"nome com % e espaço", "gbak: writing data for table %1 X\ngbak:2 records written\n",
         "gbak:restoring data for table %1 X\ngbak: 1 records restored\n",
         QStringLiteral("Restauração de teste divergente na tabela %1 X: 2 registros na cópia, 1 restaurado.")},
        {"nomes diferem só na caixa", "gbak:writing data for table a\ngbak:2 records written\n",
         "gbak:restoring data for table A\ngbak:   2 records restored\n",
         QStringLiteral("Tabela a ausente na restauração de teste: 2 registros na cópia, 0 restaurados.")},
        // An index that could not be activated, in warnings only: gbak's own
        // verdict is success.
        {"índice não ativado", Backup,
         Restauracao + "gbak:cannot commit index IDX_NOME\n"
                       "gbak: WARNING:attempt to store duplicate value (visible to active transactions) in unique index \"IDX_NOME\"\n"
                       "gbak:Index \"IDX_NOME\" failed to activate because:\n"
                       "gbak:  The unique index has duplicate values or NULLs.\n"
                       "gbak:Database is not online due to failure to activate one or more indices.\n"
                       "gbak:Run gfix -online to bring database online without active indices.\n",
         QStringLiteral("Restauração de teste não ativou índices (IDX_NOME); a base restaurada ficou fora de linha.")},
        {"só a linha fora de linha", Backup,
         Restauracao + "gbak:Database is not online due to failure to activate one or more indices.\n",
         QStringLiteral("Restauração de teste não ativou índices; a base restaurada ficou fora de linha.")},
        {"só o índice", Backup, Restauracao + "   gbak: cannot commit index RDB$FOREIGN3\r\n",
         QStringLiteral("Restauração de teste não ativou índices (RDB$FOREIGN3).")},
        {"só o gfix -online", Backup, Restauracao + "gbak:Run gfix -online to bring database online without active indices.\n",
         QStringLiteral("Restauração de teste deixou a base restaurada fora de linha.")},
        {"linha de índice sem nome", Backup, Restauracao + "gbak:Index \" failed to activate because:\n", {}},
        // Names of objects the report lists are not verdicts.
        {"tabela com nome de aviso", "gbak:writing data for table CANNOT_COMMIT\ngbak:1 records written\n",
         "gbak:restoring data for table CANNOT_COMMIT\ngbak:   1 records restored\ngbak:    restoring index ONLINE\n", {}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ConfereRestauracao(c.backup, c.restauracao), c.mensagem) << c.nome;
}

}
