#pragma once
#include <QString>

namespace tillora {

// The one way a value enters a statement text: between single quotes, with every single
// quote inside it doubled, so a name such as O'Brien is stored as typed and no value can
// end the literal early. Every statement of the program builds its values with it. A NUL
// character (U+0000, which another program may have stored) is joined in as char(0), since
// the statement text would end there: the value is stored and compared whole.
QString quote(const QString& value);

} // namespace tillora
