#pragma once
// Failures are exceptions of one family. Each carries the kind name that the error log prints
// (the type name the program's users and support know: EFOpenError, EWriteError, ...) and a message.

#include <QString>

#include <exception>
#include <string>

namespace platform {

class Error : public std::exception {
public:
    Error(QString kind, QString message);
    const QString& kind() const { return kind_; }
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    QString kind_;
    QString message_;
    std::string what_;
};

#define QX_DECLARE_ERROR(Name, Base)                                            \
    class Name : public Base {                                                  \
    public:                                                                     \
        explicit Name(const QString& message) : Base(QStringLiteral(#Name), message) {} \
                                                                                \
    protected:                                                                  \
        Name(const QString& kind, const QString& message) : Base(kind, message) {} \
    };

// Stream and file errors
QX_DECLARE_ERROR(EStreamError, Error)
QX_DECLARE_ERROR(EFOpenError, EStreamError)
QX_DECLARE_ERROR(EFCreateError, EStreamError)
QX_DECLARE_ERROR(EReadError, EStreamError)
QX_DECLARE_ERROR(EWriteError, EStreamError)
// Conversions, printing, resources, general failures
QX_DECLARE_ERROR(EConvertError, Error)
QX_DECLARE_ERROR(EPrinter, Error)
QX_DECLARE_ERROR(EOutOfResources, Error)
QX_DECLARE_ERROR(EInvalidOperation, Error)
QX_DECLARE_ERROR(EExternalException, Error)

#undef QX_DECLARE_ERROR

}  // namespace platform
