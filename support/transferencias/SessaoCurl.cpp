#include "transferencias/SessaoCurl.h"

#include "plataforma/TextoLocal.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <cctype>

namespace {
// A reply line starts with three digits; a space (or nothing) after them closes the
// reply, a hyphen opens a multi-line one.
bool EhCodigo(const QByteArray& linha)
{
    return linha.size() >= 3 && std::isdigit(static_cast<unsigned char>(linha[0]))
        && std::isdigit(static_cast<unsigned char>(linha[1])) && std::isdigit(static_cast<unsigned char>(linha[2]));
}

// Texts end up on one line of the run log: control characters become blanks.
QString UmaLinha(QString texto)
{
    for (QChar& c : texto)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    return texto.simplified();
}
}

SessaoCurl::SessaoCurl() : curl_(curl_easy_init())
{
    if (!curl_)
        return;
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, erro_);
    // Time-outs without signals: the program has other threads.
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    // A control connection idle during a long upload must survive routers that drop
    // silent connections.
    curl_easy_setopt(curl_, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(curl_, CURLOPT_TCP_KEEPIDLE, 60L);
    curl_easy_setopt(curl_, CURLOPT_TCP_KEEPINTVL, 30L);
    curl_easy_setopt(curl_, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl_, CURLOPT_DEBUGFUNCTION, &SessaoCurl::AoDepurar);
    curl_easy_setopt(curl_, CURLOPT_DEBUGDATA, this);
    // Nothing comes down that the program wants: a size query's answer is read
    // through getinfo, not printed.
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, &SessaoCurl::Descarta);
    curl_easy_setopt(curl_, CURLOPT_HEADERFUNCTION, &SessaoCurl::Descarta);
    DefineTempos({});
    DesligaProgresso();
}

SessaoCurl::~SessaoCurl()
{
    // Closes the cached connection politely (QUIT); the debug callback still runs
    // here, while this object is whole.
    if (curl_)
        curl_easy_cleanup(curl_);
}

void SessaoCurl::DefineTempos(const TemposLimite& tempos)
{
    if (!curl_)
        return;
    curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, static_cast<long>(tempos.conexaoSegundos));
    // An active-mode server must call back within the same limit.
    curl_easy_setopt(curl_, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(tempos.conexaoSegundos) * 1000L);
    curl_easy_setopt(curl_, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(tempos.paradaSegundos));
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_TIME, static_cast<long>(tempos.paradaSegundos));
}

void SessaoCurl::DefineProgresso(Progresso progresso, qint64 total, const QByteArray& marcaInicio)
{
    progresso_ = std::move(progresso);
    total_ = total;
    marcaInicio_ = marcaInicio;
    iniciado_ = marcaInicio.isEmpty();
    anunciado_ = false;
    ultimoEnviado_ = -1;
    if (!curl_)
        return;
    curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, progresso_ ? 0L : 1L);
    curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, &SessaoCurl::AoProgredir);
    curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, this);
}

void SessaoCurl::DesligaProgresso()
{
    DefineProgresso({}, 0);
}

QString SessaoCurl::Executa()
{
    if (!curl_)
        return QStringLiteral("não foi possível iniciar a biblioteca de transferência");
    erro_[0] = '\0';
    ultima_ = {};
    linhasAbertas_.clear();
    encerrando_ = false;
    const CURLcode r = curl_easy_perform(curl_);
    if (r == CURLE_OK)
        return {};
    if (ultima_.codigo >= 400 && !ultima_.texto.isEmpty())
        return ultima_.texto;
    const QString texto = UmaLinha(DeTextoLocal(erro_[0] ? erro_ : curl_easy_strerror(r)));
    if (ultima_.codigo >= 400)  // a refusal without words: its code says it
        return texto + QStringLiteral(" (") + QString::number(ultima_.codigo) + QLatin1Char(')');
    return texto;
}

size_t SessaoCurl::Descarta(char*, size_t tamanho, size_t itens, void*)
{
    return tamanho * itens;
}

int SessaoCurl::AoProgredir(void* eu, curl_off_t, curl_off_t, curl_off_t, curl_off_t enviado)
{
    auto* s = static_cast<SessaoCurl*>(eu);
    if (!s->progresso_ || !s->iniciado_)
        return 0;
    if (!s->anunciado_) {
        s->anunciado_ = true;
        s->ultimoEnviado_ = 0;
        s->progresso_(0, s->total_);
    }
    // libcurl counts the dots it doubles at line starts of a mail; the caller's
    // total is the message as composed.
    enviado = std::min<curl_off_t>(enviado, s->total_);
    if (enviado > s->ultimoEnviado_) {
        s->ultimoEnviado_ = enviado;
        s->progresso_(enviado, s->total_);
    }
    return 0;
}

int SessaoCurl::AoDepurar(CURL*, curl_infotype tipo, char* dados, size_t tamanho, void* eu)
{
    auto* s = static_cast<SessaoCurl*>(eu);
    if (tipo == CURLINFO_HEADER_OUT) {
        const QByteArray comando(dados, static_cast<qsizetype>(tamanho));
        if (comando.startsWith("QUIT"))
            s->encerrando_ = true;
        if (!s->marcaInicio_.isEmpty() && comando.startsWith(s->marcaInicio_))
            s->iniciado_ = true;
    }
    else if (tipo == CURLINFO_HEADER_IN && !s->encerrando_) {
        const QList<QByteArray> linhas = QByteArray(dados, static_cast<qsizetype>(tamanho)).split('\n');
        for (const QByteArray& l : linhas)
            if (!l.trimmed().isEmpty())
                s->LinhaRecebida(l);
    }
    return 0;
}

void SessaoCurl::LinhaRecebida(QByteArray linha)
{
    while (linha.endsWith('\r') || linha.endsWith('\n'))
        linha.chop(1);
    const bool temCodigo = EhCodigo(linha);
    const bool continua = temCodigo && linha.size() > 3 && linha[3] == '-';
    linhasAbertas_ << UmaLinha(DeTextoLocal(temCodigo ? linha.mid(4) : linha));
    if (!temCodigo || continua)
        return;
    linhasAbertas_.removeAll(QString());
    ultima_ = {linha.left(3).toInt(), linhasAbertas_.join(QLatin1Char(' '))};
    linhasAbertas_.clear();
}
