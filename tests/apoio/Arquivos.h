#pragma once
// Scratch folders and files, and the faults of a disk: a cap on file sizes and a
// small tmpfs that fills up or turns read-only.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

// A folder inside `dir` (created), path without a trailing separator.
QString PastaTeste(const QTemporaryDir& dir, const QString& sub = {});

bool GravaArquivo(const QString& caminho, const QByteArray& bytes);
QByteArray LeArquivo(const QString& caminho);
// Names of the entries of a folder, hidden ones included, sorted.
QStringList ConteudoPasta(const QString& pasta);
// Caps the size of any file this process writes, a fault even root cannot get
// around: writes past the cap fail with EFBIG, like a full disk.
class LimiteDeArquivo {
public:
    explicit LimiteDeArquivo(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &antes_);
        sinalAntes_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = antes_;
        r.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~LimiteDeArquivo()
    {
        setrlimit(RLIMIT_FSIZE, &antes_);
        std::signal(SIGXFSZ, sinalAntes_);
    }

private:
    rlimit antes_{};
    void (*sinalAntes_)(int) = nullptr;
};

// A fixture with the path of a CONFIG.ini in a scratch folder (not created).
class ComArquivoConfig : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString arquivo;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        arquivo = PastaTeste(dir) + QStringLiteral("/CONFIG.ini");
    }
};

// A small tmpfs mounted on a folder for the test's lifetime: a disk that fills up.
// ok() is false where mounting is not permitted.
class DiscoPequeno {
public:
    DiscoPequeno(const QString& pasta, const QString& tamanho);
    ~DiscoPequeno();
    bool ok() const { return montado_; }
    // Makes the disk read-only from now on.
    bool SomenteLeitura() const;

private:
    QString pasta_;
    bool montado_ = false;
};
