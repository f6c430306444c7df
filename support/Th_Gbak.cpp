#include "Th_Gbak.h"

#include "ExecutaOculto.h"

void TGbak::run() { ExecutaOculto(linhaComando_); }
