#include "janelas/TeclaEnter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

bool EnterComoTab(QWidget* janela, int tecla)
{
    if (tecla != Qt::Key_Return && tecla != Qt::Key_Enter)
        return false;
    // The window handles a Tab by moving the focus along its chain.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(janela, &tab);
    return true;
}
