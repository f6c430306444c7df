#pragma once
// The runner's one window: a small progress window that starts a backup run on its
// first activation and ends the program when the run is over.
#include <QDateTime>
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>

class Barra;
class Memo;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class Rotulo;
class TravaExecucao;

class TFm_Executa : public QWidget {
    Q_OBJECT
public:
    // `semDisplay`: no one can see or answer the window; stage texts go to
    // standard error and no alert is shown.
    explicit TFm_Executa(bool semDisplay, QWidget* parent = nullptr);
    ~TFm_Executa() override;

    void FormCreate();
    void FormActivate();
    void ExecutaBackup();
    void MostraProgresso(bool mostra);
    void Finaliza(const QString& mensagem);
    void GravaRegistro(const QString& resultado);
    // Places the window in the middle of the screen.
    void CentraNaTela();

    // The transfer stages. EnviaFTP returns false when it ended the run itself (no
    // connection), so that nothing else runs; EnviaEmail always ends the run.
    bool EnviaFTP(const QString& arquivo);
    void EnviaEmail(const QString& arquivo);
    // Progress of the transfers, on the window thread, inside the transfer.
    void IdFTP1WorkBegin(qint64 total);
    void IdFTP1Work(qint64 enviado);
    void IpSmtpClient1Progress(qint64 enviado, qint64 total);

    QLabel* LbCopia = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QLabel* LbPrevisao = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    bool Iniciado = false;
    bool AlertaFalha = false;
    QDateTime Inicio;
    QDateTime InicioEnvio;
    QString StatusFTP;
    QString StatusEmail;

    // How the failure alert is shown; tests replace it.
    std::function<void(const QString&)> MostraAlerta;
    // Asks the program to end with an exit code; tests replace it, since once asked
    // the application runs no further event loop.
    std::function<void(int)> Encerra;
    // Set once the run has decided its outcome: true when it failed.
    bool Falhou = false;

protected:
    bool event(QEvent* e) override;

private:
    void MostraPrevisao(qint64 feito, qint64 total);

    bool semDisplay_;
    std::unique_ptr<Rotulo> rotulo_;
    std::unique_ptr<Barra> barra_;
    std::unique_ptr<Memo> memo_;
    std::unique_ptr<TravaExecucao> trava_;
    qint64 totalFtp_ = 0;
    // Without a display the estimate goes to standard error at most once a second.
    QElapsedTimer ecoPrevisao_;
};
