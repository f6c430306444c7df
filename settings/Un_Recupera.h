#pragma once
// The restore window: rebuilds the database from a backup file or a runner's
// archive, after a last warning, and shows the outcome (gbak's report on failure).
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;
class TFilenameEdit;
class TFm_Principal;

class TFm_Recupera : public QWidget {
    Q_OBJECT
public:
    // `pastaPrograma` (with its separator) holds restore.log and the scratch
    // folder Restaura.
    TFm_Recupera(TFm_Principal& principal, const QString& pastaPrograma, QWidget* parent = nullptr);

    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();
    bool FormKeyPress(int tecla);

    QLabel* Label7 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label5 = nullptr;
    TFilenameEdit* FeBackup = nullptr;
    QLabel* Label1 = nullptr;
    TFilenameEdit* FeBase = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLabel* LbCopia = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

protected:
    void showEvent(QShowEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void Status(const QString& texto, const QColor& cor);

    TFm_Principal& principal_;
    QString pastaPrograma_;
    QStackedLayout* paginas_ = nullptr;
    QWidget* formulario_ = nullptr;
};
