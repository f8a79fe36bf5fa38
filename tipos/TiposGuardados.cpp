#include "tipos/TiposGuardados.h"

#include "platform/SettingsStore.h"

#include <algorithm>

namespace tipos {
namespace {

constexpr const char* kClaves[] = {"TiposIVA", "TiposRE", "TiposIRPF"};

const char* Clave(Impuesto impuesto) {
    return kClaves[static_cast<int>(impuesto)];
}

} // namespace

Listas Leer(const platform::SettingsStore& store) {
    Listas listas;
    for (const Impuesto impuesto : kImpuestos)
        listas[static_cast<int>(impuesto)] =
            DesdeTexto(impuesto, store.GetString(platform::kTalveroSection, Clave(impuesto)));
    return listas;
}

void Escribir(platform::SettingsStore& store, const Listas& listas) {
    const bool originales = std::all_of(kImpuestos.begin(), kImpuestos.end(), [&](Impuesto i) {
        return SonOriginales(i, listas[static_cast<int>(i)]);
    });
    for (const Impuesto impuesto : kImpuestos) {
        if (originales)
            store.Remove(platform::kTalveroSection, Clave(impuesto));
        else
            store.WriteString(platform::kTalveroSection, Clave(impuesto),
                              ATexto(listas[static_cast<int>(impuesto)]));
    }
}

} // namespace tipos
