#pragma once
// Zozedad's main window: every setting of CONFIG.ini on three tabs, checked and
// saved; from it the restore window is opened.
#include "configuracao/Configuracao.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TFilenameEdit;
class TFm_Recupera;

// The maker's web address at the end of both programs' captions.
inline constexpr const char* EnderecoFabricante = "www.vaultrun.com.br";

class TFm_Principal : public QWidget {
    Q_OBJECT
public:
    // `arquivoConfig`: the CONFIG.ini it reads and writes; `pastaPrograma`: the
    // folder (with its separator) of restore.log and the scratch folder Restaura.
    explicit TFm_Principal(const QString& arquivoConfig = ArquivoConfiguracao(), const QString& pastaPrograma = {},
                           QWidget* parent = nullptr);
    ~TFm_Principal() override;

    void FormCreate();
    void BtSalvarClick();
    void BtRestaurarClick();
    void btPasta_1Click();
    void btLog_1Click();
    void btRede_1Click();
    void EscolhePasta(const QString& sufixo, QLineEdit* edit);
    // Enter moves to the next field as Tab does. True when the key was taken.
    bool FormKeyPress(int tecla);

    // The settings as the boxes hold them now (passwords in clear).
    Configuracao ValoresDosCampos() const;

    // The folder browse; tests replace it.
    std::function<QString(QWidget* dono, const QString& titulo)> SelecionaPasta;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QPushButton* BtSalvar = nullptr;
    QPushButton* BtRestaurar = nullptr;

    TFilenameEdit* EdGBak = nullptr;
    QLineEdit* EdHost = nullptr;
    TFilenameEdit* EdBase = nullptr;
    QLineEdit* EdSYSDBAPass = nullptr;
    QLineEdit* EdDest = nullptr;
    QPushButton* btPasta_1 = nullptr;
    QSpinBox* RxCopias = nullptr;
    QLineEdit* EdLog = nullptr;
    QPushButton* btLog_1 = nullptr;
    QLineEdit* EdRede = nullptr;
    QPushButton* btRede_1 = nullptr;
    QCheckBox* CBResta = nullptr;
    QCheckBox* CBServico = nullptr;
    QCheckBox* CBAlerta = nullptr;

    QLineEdit* EdEmailSMTP = nullptr;
    QLineEdit* EdEmailUser = nullptr;
    QLineEdit* EdEmailPass = nullptr;
    QLineEdit* EdEmailPort = nullptr;
    QCheckBox* CBEmailAute = nullptr;
    QLineEdit* EdEmailFrom = nullptr;
    QLineEdit* EdEmailDest = nullptr;
    QLineEdit* EdEmailAssu = nullptr;

    QLineEdit* EdFTPHost = nullptr;
    QLineEdit* EdFTPUser = nullptr;
    QLineEdit* EdFTPPass = nullptr;
    QLineEdit* EdFTPPort = nullptr;
    QLineEdit* EdFTPDir = nullptr;
    QCheckBox* CBFTPAtiv = nullptr;

    TFm_Recupera* Fm_Recupera = nullptr;

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void MontaDetalhes();
    void MontaEmail();
    void MontaFTP();
    void MostraValores(const Configuracao& c);

    QString arquivoConfig_;
    Configuracao lidos_;
};
