#include "procedimento/Duracoes.h"

#include "configuracao/Configuracao.h"
#include "configuracao/IniFile.h"
#include "plataforma/Erro.h"
#include "plataforma/TextoLocal.h"

#include <cstdio>

Duracoes::Duracoes(const QString& sistema, const QString& nomeBanco)
    : ativo_(!sistema.isEmpty()),
      chaveBackup_(ChaveDuracao("TBckp", sistema, nomeBanco)),
      chaveRestauracao_(ChaveDuracao("TRest", sistema, nomeBanco))
{
    if (!ativo_)
        return;
    const TIniFile config(ArquivoConfiguracao());
    backup_ = config.ReadInteger(SecaoSistema, chaveBackup_, 0);
    restauracao_ = config.ReadInteger(SecaoSistema, chaveRestauracao_, 0);
}

void Duracoes::gravaBackup(int segundos) const { grava(chaveBackup_, segundos); }
void Duracoes::gravaRestauracao(int segundos) const { grava(chaveRestauracao_, segundos); }

void Duracoes::grava(const QByteArray& chave, int segundos) const
{
    if (!ativo_)
        return;
    try {
        TIniFile(ArquivoConfiguracao()).WriteInteger(SecaoSistema, chave, segundos);
    } catch (const Erro& e) {
        std::fprintf(stderr, "%s (%s=%d)\n", ParaTextoLocal(e.texto()).constData(), chave.constData(), segundos);
        std::fflush(stderr);
    }
}
