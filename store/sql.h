#pragma once
#include <QString>

namespace tillora {

// The one way a value enters a statement text: between single quotes, with every single
// quote inside it doubled, so a name such as O'Brien is stored as typed and no value can
// end the literal early. Every statement of the program builds its values with it.
QString quote(const QString& value);

} // namespace tillora
