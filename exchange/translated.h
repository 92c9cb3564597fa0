#pragma once
#include "common/translate.h"

#include <QString>

namespace tillora {

// The translation of an English text of this folder; the text itself without a translator.
inline QString translated(const Translate& translate, const char* english) {
    const QString text = QString::fromLatin1(english);
    return translate ? translate(text) : text;
}

} // namespace tillora
