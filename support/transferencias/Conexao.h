#pragma once
// Whether the machine has a network connection at all, asked of the operating
// system only: no server is contacted.

// True when at least one interface other than loopback is up, running and has an
// address.
bool ConectadoInternet();
