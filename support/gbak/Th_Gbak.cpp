#include "gbak/Th_Gbak.h"

#include "gbak/ExecutaOculto.h"

void TGbak::run() { saida_ = ExecutaGbakOculto(comando_); }
