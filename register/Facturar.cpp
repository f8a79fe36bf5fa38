#include "register/Facturar.h"

#include "receipt/Recibo.h"
#include "verifactu/Ajustes.h"
#include "verifactu/CodigoQr.h"
#include "verifactu/FechaRegistro.h"
#include "verifactu/IdentificadorFiscal.h"

#include <QRegularExpression>
#include <QStringList>

#include <array>
#include <string_view>

namespace registro {

namespace {

// The agency takes no invoice dated before the Orden was published.
const QDate kPrimerDia(2024, 10, 28);

// Where each of the alta's reasons is put right: a sentence added to it.
struct Donde {
    std::string_view empieza;
    const char* donde;
};
constexpr std::array<Donde, 9> kDonde{{
    {"NIF del emisor", " Corríjalo en Recibos → VERI*FACTU…."},
    {"El nombre del emisor", " Corríjalo en Recibos → VERI*FACTU…."},
    {"El número del recibo", " Corríjalo en «Número»."},
    {"NIF del pagador", " Corríjalo en «Pagador (2ª línea)» o en la columna «NIF del pagador»."},
    {"El nombre del pagador", " Escríbalo en «Pagador»."},
    {"Un recibo de más de 400",
     " Escríbalo en «Pagador (2ª línea)» o, en una lista, en la columna «NIF del pagador»."},
    {"La AEAT no admite", " Elija otro en «% IVA» (Recibos → Tipos impositivos… ofrece los "
                          "vigentes)."},
    {"Un recargo", " Elija otro en «% RE»."},
    {"Un recibo sin IVA", " Elija 0 en «% RE»."},
}};

std::string ConDonde(std::string motivo) {
    for (const Donde& d : kDonde)
        if (std::string_view(motivo).starts_with(d.empieza))
            return motivo + d.donde;
    return motivo;
}

std::string Concepto(const std::string& texto) {
    return QString::fromStdString(texto).trimmed().toStdString();
}

// The receipt's concepts, the operation it describes.
std::string Descripcion(const CRecibo& r) {
    std::string d;
    for (const std::string* c :
         {&r.m_Concepto1, &r.m_Concepto2, &r.m_Concepto3, &r.m_Concepto4, &r.m_Concepto5}) {
        const std::string t = Concepto(*c);
        if (t.empty())
            continue;
        if (!d.empty())
            d += "; ";
        d += t;
    }
    return d;
}

bool EsIdentificador(const std::string& texto) {
    return verifactu::ClasificarIdentificador(verifactu::NormalizarIdentificador(texto)) !=
           verifactu::ClaseIdentificador::Ninguna;
}

} // namespace

std::optional<Facturacion> FacturacionVigente(const verifactu::Ajustes& a, const QDate& hoy) {
    if (!a.VigenteEl(hoy.toString(Qt::ISODate).toStdString()))
        return std::nullopt;
    Facturacion f;
    f.emisorNif = a.emisorNif;
    f.emisorNombre = a.emisorNombre;
    f.instalacion = a.instalacion;
    f.ivaCero = a.ivaCeroSujeta ? verifactu::IvaCero::TipoCero : verifactu::IvaCero::Exenta;
    f.produccion = a.EsProduccion();
    f.hoy = hoy;
    return f;
}

std::string NifDelPagador(const CRecibo& r, const QString& nifDado) {
    if (!nifDado.trimmed().isEmpty())
        return verifactu::NormalizarIdentificador(nifDado.toStdString());
    if (EsIdentificador(r.m_Pagador2))
        return verifactu::NormalizarIdentificador(r.m_Pagador2);
    // "NIF: 12345678Z", "Juan Gil (12.345.678-Z)": any word of the line.
    static const QRegularExpression separadores(QStringLiteral("[\\s,;:()/]+"));
    for (const QString& palabra :
         QString::fromStdString(r.m_Pagador2).split(separadores, Qt::SkipEmptyParts))
        if (EsIdentificador(palabra.toStdString()))
            return verifactu::NormalizarIdentificador(palabra.toStdString());
    return {};
}

verifactu::ResultadoAlta AltaDeRecibo(const CRecibo& r, const Facturacion& f,
                                      const QString& nifDado) {
    verifactu::ResultadoAlta resultado;
    const moneda::Fecha& fecha = r.m_Fecha;
    const QDate dia = fecha.EsValida() ? QDate(fecha.Anio(), fecha.Mes(), fecha.Dia()) : QDate();
    if (!dia.isValid()) {
        resultado.motivo = "La fecha del recibo no es válida. Corríjala en «Fecha».";
        return resultado;
    }
    if (f.hoy.isValid() && dia > f.hoy) {
        resultado.motivo = "La fecha del recibo (" +
                           dia.toString(QStringLiteral("dd/MM/yyyy")).toStdString() +
                           ") es posterior a hoy, y la AEAT no admite facturas con fecha futura. "
                           "Corríjala en «Fecha».";
        return resultado;
    }
    if (dia < kPrimerDia) {
        resultado.motivo = "La AEAT no admite facturas con fecha anterior al 28/10/2024. "
                           "Corrija la fecha en «Fecha».";
        return resultado;
    }
    verifactu::DatosAlta datos;
    datos.factura = {f.emisorNif, r.m_Numero, verifactu::TextoFechaExpedicion(fecha)};
    datos.nombreEmisor = f.emisorNombre;
    datos.descripcion = Descripcion(r);
    if (datos.descripcion.empty()) {
        resultado.motivo = "El recibo no dice qué se cobra: escríbalo en «Concepto 1».";
        return resultado;
    }
    datos.pagador = {Concepto(r.m_Pagador1), NifDelPagador(r, nifDado)};
    datos.ivaCero = f.ivaCero;
    datos.sistema.numeroInstalacion = f.instalacion;
    resultado = verifactu::AltaDeRecibo(datos, verifactu::ImportesDe(r));
    resultado.motivo = ConDonde(std::move(resultado.motivo));
    return resultado;
}

MarcaQr QrDeAlta(const verifactu::RegistroAlta& alta, bool produccion) {
    const verifactu::MatrizQr matriz = verifactu::CodificarQr(verifactu::UrlCotejo(
        alta.factura, alta.importeTotal,
        produccion ? verifactu::Entorno::Produccion : verifactu::Entorno::Pruebas));
    MarcaQr marca;
    marca.lado = matriz.Lado();
    marca.oscuros.reserve(std::size_t(marca.lado) * std::size_t(marca.lado));
    for (int fila = 0; fila < marca.lado; ++fila)
        for (int columna = 0; columna < marca.lado; ++columna)
            marca.oscuros.push_back(matriz.Oscuro(fila, columna) ? 1 : 0);
    return marca;
}

} // namespace registro
