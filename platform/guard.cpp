#include "platform/guard.h"

namespace tillora {

void reportAppError(IMessages& messages, const AppError& error) {
    if (!error.quiet())
        showDefaultError(messages, error.message());
}

void reportUnexpected(IMessages& messages, const std::exception& error) {
    showDefaultError(messages, QString::fromUtf8(error.what()));
}

} // namespace tillora
