#pragma once
// Enter in a field moves to the next one, as Tab does, in both of the tool's
// windows.
class QWidget;

// True when `tecla` is Enter (either key) and the focus moved on in `janela`.
bool EnterComoTab(QWidget* janela, int tecla);
