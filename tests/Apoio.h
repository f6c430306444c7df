#pragma once
// Shared test fixtures: scratch folders, a real Firebird database, the runner
// program installed into a scratch folder.
#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

// A folder inside `dir` (created), path without a trailing separator.
QString PastaTeste(const QTemporaryDir& dir, const QString& sub = {});

// Opens a folder (and the scratch folder above it) to the Firebird server's user,
// which writes backups and logs when the service manager does the work.
void AbreParaServidor(const QString& pasta);

bool GravaArquivo(const QString& caminho, const QByteArray& bytes);
// Records of a dump whose every line carries a random hexadecimal identifier, as
// backups of tables keyed by UUIDs do: text where short matches are mostly chance.
QByteArray RegistrosComIdentificadores(qsizetype tamanho, quint32 semente);
QByteArray LeArquivo(const QString& caminho);
// Names of the entries of a folder, hidden ones included, sorted.
QStringList ConteudoPasta(const QString& pasta);

// Runs a program directly; returns its exit code (-1 when it did not start) and
// fills its standard output and error.
int Executa(const QString& programa, const QStringList& argumentos, QByteArray* saida = nullptr,
            const QByteArray& entrada = {}, const QProcessEnvironment& ambiente = QProcessEnvironment::systemEnvironment());

// The real server: creates a database with `linhas` rows in table CLIENTES.
void CriaBanco(const QString& caminho, int linhas);
// Rows of CLIENTES, or -1 when the database cannot be read.
int ContaClientes(const QString& banco);
// Restores a backup with the real gbak into a new database; true on success.
bool RestauraBackup(const QString& backup, const QString& banco);

// Folder of the stand-in gbak, for PATH.
QString PastaGbakFalso();
// The built runner program.
QString ProgramaVaultrun();

// A runner installed into a scratch folder: the program and its CONFIG.ini.
struct Instalacao {
    QString pasta;  // with a trailing '/'
    explicit Instalacao(const QString& pastaBase);
    void GravaConfig(const QByteArray& conteudo) const;
    // Runs the program without a display; returns its exit code.
    int Executa(const QProcessEnvironment& ambiente = AmbienteSemDisplay(), QByteArray* erros = nullptr) const;
    QStringList LinhasRegistro() const;  // registro.txt split at CR LF
    static QProcessEnvironment AmbienteSemDisplay();
    // The environment with the stand-in gbak first on PATH and its behaviours.
    static QProcessEnvironment AmbienteGbakFalso(const QString& modos, const QString& arquivoArgs = {});
};

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

// Reads a ZIP archive with independent readers: `unzip -t` must pass, and Python's
// zipfile gives the entry names and the first entry's bytes.
struct ConteudoZip {
    bool integro = false;
    QStringList nomes;
    QByteArray primeiro;
    QString metodo;  // compression of the first entry as zipfile names it
};
ConteudoZip LeZip(const QString& arquivo);

// Readable failure messages for Qt texts.
#include <ostream>
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}
