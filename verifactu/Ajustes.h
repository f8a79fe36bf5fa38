// Whether receipts leave as invoices with VERI*FACTU records, and for whom, kept in the
// user's settings next to the form's (section "Aplicacion Talvero"):
//   VerifactuActivo       "true" while the mode is on
//   VerifactuHasta        the last day (yyyy-mm-dd) of a mode switched off during the year:
//                         once on, the mode lasts until 31 December
//   EmisorNif, EmisorNombre   the issuer of the invoices
//   VerifactuCertificado  the PKCS#12 file (.p12, .pfx) that signs in to the agency
//   VerifactuServidor     absent: the agency's service; "pruebas": its test service; any
//                         other text: a URL used as it is
//   VerifactuCA           optional PEM file of authorities trusted for that server
//   VerifactuIva0         "sujeta": IVA 0 is taxed at 0 %; anything else: exempt (art. 20)
//   VerifactuInstalacion  this installation's number, made once
// The certificate's password is never kept. Plain reading and writing: the checks of what
// the user types live in the window that edits them.
#pragma once

#include <string>

namespace platform {
class SettingsStore;
}

namespace verifactu {

inline constexpr char kUrlProduccion[] =
    "https://www1.agenciatributaria.gob.es/wlpl/TIKE-CONT/ws/SistemaFacturacion/VerifactuSOAP";
inline constexpr char kUrlPruebas[] =
    "https://prewww1.aeat.es/wlpl/TIKE-CONT/ws/SistemaFacturacion/VerifactuSOAP";

struct Ajustes {
    bool activo = false;
    std::string hasta; // yyyy-mm-dd, or empty
    std::string emisorNif, emisorNombre;
    std::string certificado;
    std::string servidor; // as stored: empty, "pruebas" or a URL
    std::string ca;
    bool ivaCeroSujeta = false;
    std::string instalacion;

    // The URL the records are sent to.
    std::string UrlServicio() const;
    // Whether that is the agency's real service (the QR then names its real host).
    bool EsProduccion() const { return servidor.empty(); }
    // Whether receipts issued on `hoy` (yyyy-mm-dd) must carry records: the mode is on, or
    // was switched off this year and lasts until `hasta`.
    bool VigenteEl(const std::string& hoy) const {
        return activo || (!hasta.empty() && hoy <= hasta);
    }
};

Ajustes LeerAjustes(const platform::SettingsStore& store);
// Writes every key as given (an empty servidor, CA or hasta removes its key); does not flush.
void EscribirAjustes(platform::SettingsStore& store, const Ajustes& ajustes);

} // namespace verifactu
