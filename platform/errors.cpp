#include "platform/errors.h"

namespace platform {

Error::Error(QString kind, QString message)
    : kind_(std::move(kind)), message_(std::move(message)), what_((kind_ + QStringLiteral(": ") + message_).toStdString()) {}

}  // namespace platform
