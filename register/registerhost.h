#pragma once
#include <QString>

namespace tillora {

// What the product picker needs of the sale register: the barcode waiting to be looked up
// and the lookup itself, the same path a scan goes through.
class IRegisterHost {
public:
    virtual ~IRegisterHost() = default;
    virtual QString& ScanBuffer() = 0;
    // Looks ScanBuffer up and adds QuantityToAdd units of every matching product; true when
    // a product was found.
    virtual bool BarkodOkundu() = 0;
};

} // namespace tillora
