#pragma once
// Keyboard mnemonics for translated captions: the "&" before the letter that Alt (in a menu
// bar) or the bare letter (in an open menu) reaches an item with. They are chosen when the
// captions are set, so the language files keep their plain texts as keys.
#include <QString>
#include <QStringList>

namespace tillora {

// The captions of one menu bar or one menu, in their order, each with a mnemonic of its own.
// Each caption takes the first character not yet taken in this order of preference: a letter
// A-Z or digit starting a word, any letter A-Z or digit, any other letter starting a word, any
// other letter; letter case does not count. A caption with no free character stays without
// one. A "&" already in a caption is doubled, so that it shows as itself.
QStringList withMnemonics(const QStringList& captions);

// The caption without its mnemonic: as it reads on screen.
QString withoutMnemonic(const QString& caption);

} // namespace tillora
