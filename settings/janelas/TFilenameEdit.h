#pragma once
// A file-name box: an edit box with a browse button that opens the file-open
// dialog with a filter. The focus goes to the edit box; the button is reached by
// the mouse only.
#include <QWidget>

class QLineEdit;
class QToolButton;

class TFilenameEdit : public QWidget {
    Q_OBJECT
public:
    // `filtro` in the file dialog's form: "Base de Dados FDB (*.fdb *.FDB)".
    explicit TFilenameEdit(const QString& filtro, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& texto);
    QLineEdit* Edit() const { return edit_; }
    QToolButton* Botao() const { return botao_; }
    // The folder the browse dialog starts in; empty: the folder of the present name.
    QString InitialDir;

private:
    void Procura();

    QString filtro_;
    QLineEdit* edit_;
    QToolButton* botao_;
};
