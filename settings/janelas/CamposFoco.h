#pragma once
// Focus colouring of a window's input fields: light yellow while a field has the
// focus, its usual colour again when it leaves.
#include <QColor>
#include <QObject>

class QWidget;

// The colour of a field that has the focus (red 255, green 255, blue 128).
inline const QColor CorFoco(255, 255, 128);

// The focus handlers. Holds no state: one object serves every field of a window.
class TCoresFoco : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    static void CampoEntra(QWidget* campo);
    static void CampoSai(QWidget* campo);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
};

// Attaches the focus handlers to every input field of the window, on every tab:
// edit boxes (file-name boxes included), spin and date boxes, drop-down boxes,
// multi-line boxes and check boxes.
void PreparaCampos(QWidget* janela);
