#include "app/errors.h"

#include "platform/messages.h"

namespace tillora {

void reportAppError(IMessages& messages, const AppError& error) {
    showDefaultError(messages, error.message());
}

} // namespace tillora
