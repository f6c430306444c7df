#pragma once
// What the FTP upload and the e-mail share on top of a libcurl easy handle: its
// lifetime, the time-outs, the progress report with 64-bit counts, and the text of
// a failure (the server's own reply when it refused a command).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <curl/curl.h>
#include <functional>

// Called with (0, total) once as the data starts to travel, then with the bytes
// sent so far each time that count grows. Runs on the calling thread, inside the
// transfer, so it may process pending window events.
using Progresso = std::function<void(qint64 enviado, qint64 total)>;

// Limits that end a transfer whose server stopped answering. The defaults suit a
// slow line; tests use a second or two.
struct TemposLimite {
    int conexaoSegundos = 30;  // to connect, greet and log in
    int paradaSegundos = 90;   // without a single byte moving, or waiting for a reply
};

// One easy handle. Not copyable: libcurl keeps pointers to it for its callbacks.
class SessaoCurl {
public:
    SessaoCurl();
    ~SessaoCurl();
    SessaoCurl(const SessaoCurl&) = delete;
    SessaoCurl& operator=(const SessaoCurl&) = delete;

    CURL* handle() const { return curl_; }

    void DefineTempos(const TemposLimite& tempos);

    // `total` is the byte count of the whole upload. `marcaInicio` is the command
    // whose sending starts the data transfer (for instance "STOR "); empty means
    // the data starts with the session.
    void DefineProgresso(Progresso progresso, qint64 total, const QByteArray& marcaInicio = {});
    void DesligaProgresso();

    // Runs the request set on the handle. Empty text on success; otherwise the
    // text of the last reply when the server refused something (its code left
    // out), else libcurl's description of the failure.
    QString Executa();

private:
    struct Resposta {
        int codigo = 0;
        QString texto;
    };

    static int AoProgredir(void* eu, curl_off_t, curl_off_t, curl_off_t, curl_off_t enviado);
    static size_t Descarta(char*, size_t tamanho, size_t itens, void*);
    static int AoDepurar(CURL*, curl_infotype tipo, char* dados, size_t tamanho, void* eu);
    void LinhaRecebida(QByteArray linha);

    CURL* curl_ = nullptr;
    char erro_[CURL_ERROR_SIZE] = {};
    Progresso progresso_;
    qint64 total_ = 0;
    QByteArray marcaInicio_;
    bool iniciado_ = false;   // the data transfer has begun
    bool anunciado_ = false;  // (0, total) was reported
    qint64 ultimoEnviado_ = -1;
    // Replies are followed until QUIT is sent: the goodbye must not hide the
    // refusal that ended the session.
    bool encerrando_ = false;
    QStringList linhasAbertas_;  // lines of a multi-line reply still open
    Resposta ultima_;
};
