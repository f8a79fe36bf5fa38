#include "verifactu/Ajustes.h"

#include "platform/SettingsStore.h"

#include <QtCore/QString>
#include <QtCore/QVariant>

namespace verifactu {
namespace {

constexpr char kActivo[] = "VerifactuActivo";
constexpr char kHasta[] = "VerifactuHasta";
constexpr char kNif[] = "EmisorNif";
constexpr char kNombre[] = "EmisorNombre";
constexpr char kCertificado[] = "VerifactuCertificado";
constexpr char kServidor[] = "VerifactuServidor";
constexpr char kCa[] = "VerifactuCA";
constexpr char kIva0[] = "VerifactuIva0";
constexpr char kInstalacion[] = "VerifactuInstalacion";

std::string Leer(const platform::SettingsStore& s, const char* clave) {
    return s.GetString(platform::kTalveroSection, clave);
}

void Escribir(platform::SettingsStore& s, const char* clave, const std::string& valor) {
    if (valor.empty())
        s.Remove(platform::kTalveroSection, clave);
    else
        s.WriteString(platform::kTalveroSection, clave, valor);
}

} // namespace

std::string Ajustes::UrlServicio() const {
    if (servidor.empty())
        return kUrlProduccion;
    if (servidor == "pruebas")
        return kUrlPruebas;
    return servidor;
}

Ajustes LeerAjustes(const platform::SettingsStore& s) {
    Ajustes a;
    // Read as Qt reads a boolean setting ("1", "TRUE" are on; empty, "0", "false" off), and
    // "no" or "off" written by hand off too: a key written as "1" must not leave the invoices
    // without their records, nor one written as "no" make records nobody asked for.
    const QString activo = QString::fromStdString(Leer(s, kActivo)).trimmed().toLower();
    a.activo = QVariant(activo).toBool() && activo != u"no" && activo != u"off";
    a.hasta = Leer(s, kHasta);
    a.emisorNif = Leer(s, kNif);
    a.emisorNombre = Leer(s, kNombre);
    a.certificado = Leer(s, kCertificado);
    a.servidor = Leer(s, kServidor);
    a.ca = Leer(s, kCa);
    a.ivaCeroSujeta = Leer(s, kIva0) == "sujeta";
    a.instalacion = Leer(s, kInstalacion);
    return a;
}

void EscribirAjustes(platform::SettingsStore& s, const Ajustes& a) {
    s.WriteString(platform::kTalveroSection, kActivo, a.activo ? "true" : "false");
    Escribir(s, kHasta, a.hasta);
    Escribir(s, kNif, a.emisorNif);
    Escribir(s, kNombre, a.emisorNombre);
    Escribir(s, kCertificado, a.certificado);
    Escribir(s, kServidor, a.servidor);
    Escribir(s, kCa, a.ca);
    s.WriteString(platform::kTalveroSection, kIva0, a.ivaCeroSujeta ? "sujeta" : "exenta");
    Escribir(s, kInstalacion, a.instalacion);
}

} // namespace verifactu
