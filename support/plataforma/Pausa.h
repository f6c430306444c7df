#pragma once
// The fixed pauses of the backup procedure (1-second polls, 5-second waits) go
// through here so that tests can run them instantly; the programs keep the real
// durations.
#include <functional>

void Pausa(int milissegundos);

// Replaces the pause for the rest of the process (tests only). An empty function
// restores the real one.
void DefinePausa(std::function<void(int)> pausa);

// Lets the calling thread handle all pending window messages once.
void Bombeia();
