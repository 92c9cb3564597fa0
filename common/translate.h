#pragma once
#include <QString>

#include <functional>

namespace tillora {

// The translation of an English caption or message (the loaded language's TranslateText).
using Translate = std::function<QString(const QString&)>;

} // namespace tillora
