#include "receipt/TiposImpositivos.h"

namespace tipos {

std::vector<std::string> Originales(Impuesto impuesto) {
    switch (impuesto) {
    case Impuesto::Iva:
        return {"0", "4", "7", "16"};
    case Impuesto::Re:
        return {"0", "0,5", "1", "1,75", "4"};
    case Impuesto::Irpf:
        return {"0", "15", "18"};
    }
    return {"0"};
}

std::vector<std::string> Vigentes(Impuesto impuesto) {
    switch (impuesto) {
    case Impuesto::Iva:
        return {"0", "4", "10", "21"};
    case Impuesto::Re:
        return {"0", "0,5", "1,4", "1,75", "5,2"};
    case Impuesto::Irpf:
        return {"0", "1", "2", "7", "15", "19"};
    }
    return {"0"};
}

std::string ATexto(const std::vector<std::string>& items) {
    std::string texto;
    for (const auto& item : items) {
        if (!texto.empty())
            texto += ';';
        texto += item;
    }
    return texto;
}

} // namespace tipos
