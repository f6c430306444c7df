// Judging gbak's reports by its own error lines.
#include "gbak/RelatorioGbak.h"

#include <gtest/gtest.h>

namespace {

TEST(RelatorioGbak, SoAsLinhasDeErroDoProprioGbakContam)
{
    const struct {
        const char* relatorio;
        bool erro;
    } casos[] = {
        // Errors as gbak words them, in the cases its versions and the stand-in use.
        {"gbak:readied database x\ngbak: ERROR:Unable to complete network request to host \"x\".\n", true},
        {"gbak: ERROR:    Failed to establish a connection.\r\n", true},
        {"gbak:ERROR:could not open file /x/y.fdb\n", true},
        {"gbak: Error: I/O error during \"read\" operation\n", true},
        {"gbak: error: restore failed, database may be damaged\n", true},
        {"gbak:Exiting before completion due to errors\n", true},
        {"ERROR: unsuccessful metadata update\n", true},
        {"   gbak: ERROR : spaced\n", true},
        // Names of objects and files the verbose report lists are not errors.
        {"gbak:writing data for table ERROR_LOG\ngbak:   3 records written\n", false},
        {"gbak:restoring data for table ERRORS\ngbak:    writing index ERROR_IDX\n", false},
        {"gbak:opened file /srv/errors/BASE-ERROR.bkp\n", false},
        {"gbak:    restoring column ERROR\ngbak:finishing, closing, and going home\n", false},
        {"gbak:    restoring function ERRORCOUNT\n", false},
        {"", false},
    };
    for (const auto& c : casos)
        EXPECT_EQ(RelatorioTemErro(c.relatorio), c.erro) << c.relatorio;
}

TEST(RelatorioGbak, FalhaDoGbakPelaSaida)
{
    EXPECT_EQ(FalhaDoGbak(0), QString());
    EXPECT_EQ(FalhaDoGbak(1), QStringLiteral("O gbak terminou com o código de erro 1."));
    EXPECT_FALSE(FalhaDoGbak(-2).isEmpty());
}

}
