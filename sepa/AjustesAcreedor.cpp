#include "sepa/AjustesAcreedor.h"

#include "platform/SettingsStore.h"

namespace sepa {

namespace {

constexpr char kNombre[] = "AcreedorNombre";
constexpr char kIdentificador[] = "AcreedorIdentificador";
constexpr char kIban[] = "AcreedorIban";
constexpr char kBic[] = "AcreedorBic";
constexpr char kVersion[] = "AcreedorVersionRemesa";

} // namespace

Acreedor LeerAcreedor(const platform::SettingsStore& store) {
    return Acreedor{store.GetString(platform::kTalveroSection, kNombre),
                    store.GetString(platform::kTalveroSection, kIdentificador),
                    store.GetString(platform::kTalveroSection, kIban),
                    store.GetString(platform::kTalveroSection, kBic)};
}

void EscribirAcreedor(platform::SettingsStore& store, const Acreedor& a) {
    store.WriteString(platform::kTalveroSection, kNombre, a.nombre);
    store.WriteString(platform::kTalveroSection, kIdentificador, a.identificador);
    store.WriteString(platform::kTalveroSection, kIban, a.iban);
    store.WriteString(platform::kTalveroSection, kBic, a.bic);
}

AcreedorCargado CargarAcreedor(const platform::SettingsStore& store) {
    AcreedorCargado cargado{Normalizado(LeerAcreedor(store)), {}};
    const Acreedor& a = cargado.acreedor;
    const std::string dondeSeCorrige =
        " Escríbalos en Talvero, en «Recibos → Datos del acreedor…».";
    if (a.nombre.empty() && a.identificador.empty() && a.iban.empty()) {
        cargado.error = "Faltan los datos del acreedor (nombre, identificador SEPA e IBAN) para "
                        "cobrar los recibos por el banco." +
                        dondeSeCorrige;
    } else if (const auto p = ComprobarAcreedor(a)) {
        cargado.error = "Los datos del acreedor guardados en los ajustes no son válidos; " +
                        p->campo + ": " + p->mensaje + dondeSeCorrige;
    }
    return cargado;
}

std::string LeerVersionRemesa(const platform::SettingsStore& store) {
    return store.GetString(platform::kTalveroSection, kVersion) == kRemesa02 ? kRemesa02
                                                                             : kRemesa08;
}

void EscribirVersionRemesa(platform::SettingsStore& store, const std::string& version) {
    store.WriteString(platform::kTalveroSection, kVersion,
                      version == kRemesa02 ? kRemesa02 : kRemesa08);
}

} // namespace sepa
