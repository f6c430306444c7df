#pragma once
// Errors inside a run travel as message texts: whatever is thrown carries the
// Portuguese sentence that ends up in the run log.
#include <QString>
#include <exception>

class Erro : public std::exception {
public:
    explicit Erro(QString texto) : texto_(std::move(texto)), utf8_(texto_.toUtf8()) {}
    const QString& texto() const { return texto_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString texto_;
    QByteArray utf8_;
};
