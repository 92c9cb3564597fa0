#include "bench/bench.h"

#include "common/passwords.h"

using namespace tillora;
using namespace tillora::bench;

// A login checks one Argon2id hash: slow on purpose, but the cashier must not wait for it.
TILLORA_BENCHMARK(benchPasswords) {
    const QString stored = hashPassword(QStringLiteral("kasa 1"));
    int right = 0;
    const double hash = medianMs([&] { right += hashPassword(QStringLiteral("kasa 1")).size() > 0; }, 5);
    const double check = medianMs(
        [&] { right += checkPassword(QStringLiteral("kasa 1"), stored) == PasswordCheck::Right; }, 5);
    return {Row{QStringLiteral("store a password (Argon2id)"), QStringLiteral("1"), hash, -1,
                QStringLiteral("< 1000 ms"), hash < 1000 && right > 0},
            Row{QStringLiteral("check a password at login"), QStringLiteral("1"), check, -1,
                QStringLiteral("< 1000 ms"), check < 1000}};
}
