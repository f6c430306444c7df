#include "Th_Gbak.h"

#include "ExecutaOculto.h"

void TGbak::run() { saida_ = ExecutaOcultoComSaida(linhaComando_); }
