#pragma once
// The context of the exchange tests: a fresh data file and the semicolon list separator that
// the examples of CSV lines use.
#include "tests/support/contextfixture.h"

#include <QtTest>

#include <memory>

namespace tillora::test {

inline std::unique_ptr<ContextFixture> semicolonContext() {
    auto fixture = std::make_unique<ContextFixture>();
    if (!fixture->open())
        return nullptr;
    fixture->context.csvSeparator = QStringLiteral(";");
    return fixture;
}

} // namespace tillora::test
