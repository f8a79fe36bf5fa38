#include "form/SavedSettings.h"

#include "platform/SettingsStore.h"

#include <string>

namespace saved_settings {
namespace {

using platform::kTalveroSection;

// Keys as they have always been spelt in the store ("IPRF_STRING" included).
constexpr char kCobrador1[] = "Cobrador1";
constexpr char kCobrador2[] = "Cobrador2";
constexpr char kLocalidad[] = "Localidad";
constexpr char kVencimiento[] = "Vencimiento";
constexpr char kNumero[] = "Numero";
constexpr char kPagador1[] = "Pagador1";
constexpr char kPagador2[] = "Pagador2";
constexpr char kBanner[] = "Banner Publicidad 001";
constexpr char kIva[] = "IVA_STRING";
constexpr char kIrpf[] = "IPRF_STRING";
constexpr char kRe[] = "RE_STRING";
constexpr char kConcepto[5][10] = {"Concepto1", "Concepto2", "Concepto3", "Concepto4", "Concepto5"};
constexpr char kDireccion[] = "Direccion";
constexpr char kImporte[5][9] = {"Importe1", "Importe2", "Importe3", "Importe4", "Importe5"};
constexpr char kColor[] = "Color";
constexpr char kPluma[] = "Pluma";
constexpr char kCarpetaPdf[] = "CarpetaPDF";

// Defaults for values that read empty or absent.
constexpr char kDefaultVencimiento[] = "A LA VISTA";
constexpr char kDefaultPorcentaje[] = "0";
constexpr char kDefaultColor[] = "AZUL";
constexpr char kDefaultPluma[] = "SOLID"; // selects "SOLIDO" in the fill list
constexpr int kBannerAbsent = 999;
constexpr int kBannerDefault = 2;

std::string Read(const platform::SettingsStore& s, const char* key) {
    return s.GetString(kTalveroSection, key);
}

std::string ReadOr(const platform::SettingsStore& s, const char* key, const char* fallback) {
    std::string v = Read(s, key);
    return v.empty() ? std::string(fallback) : v;
}

void ReadPercentages(const platform::SettingsStore& s, ReceiptFields& f) {
    f.m_Iva = ReadOr(s, kIva, kDefaultPorcentaje);
    f.m_Irpf = ReadOr(s, kIrpf, kDefaultPorcentaje);
    f.m_Re = ReadOr(s, kRe, kDefaultPorcentaje);
}

void ReadColourAndFill(const platform::SettingsStore& s, ReceiptFields& f) {
    f.m_Color = ReadOr(s, kColor, kDefaultColor);
    f.m_Relleno = ReadOr(s, kPluma, kDefaultPluma);
}

std::string* Conceptos(ReceiptFields& f, int i) {
    std::string* c[5] = {&f.m_Concepto1, &f.m_Concepto2, &f.m_Concepto3, &f.m_Concepto4,
                         &f.m_Concepto5};
    return c[i];
}

moneda::Currency* Importes(ReceiptFields& f, int i) {
    moneda::Currency* c[5] = {&f.m_Importe1, &f.m_Importe2, &f.m_Importe3, &f.m_Importe4,
                              &f.m_Importe5};
    return c[i];
}

} // namespace

void ReadOpeningFirstGroup(const platform::SettingsStore& s, ReceiptFields& f) {
    f.m_Cobrador1 = Read(s, kCobrador1);
    f.m_Cobrador2 = Read(s, kCobrador2);
    f.m_Localidad = Read(s, kLocalidad);
    f.m_Vencimiento = ReadOr(s, kVencimiento, kDefaultVencimiento);
    f.m_Numero = Read(s, kNumero);
    f.m_Pagador1 = Read(s, kPagador1);
    f.m_Pagador2 = Read(s, kPagador2);
    f.m_Banner = s.GetInt(kTalveroSection, kBanner, kBannerAbsent);
    if (f.m_Banner == kBannerAbsent)
        f.m_Banner = kBannerDefault;
    ReadPercentages(s, f);
}

void ReadOpeningSecondGroup(const platform::SettingsStore& s, ReceiptFields& f) {
    f.m_Cobrador1 = Read(s, kCobrador1);
    f.m_Cobrador2 = Read(s, kCobrador2);
    for (int i = 0; i < 5; ++i)
        *Conceptos(f, i) = Read(s, kConcepto[i]);
    f.m_Direccion = Read(s, kDireccion);
    for (int i = 0; i < 5; ++i)
        *Importes(f, i) = moneda::ParseAmount(Read(s, kImporte[i]));
    ReadColourAndFill(s, f);
}

void ReadForClearAll(const platform::SettingsStore& s, ReceiptFields& f) {
    f.m_Cobrador1 = Read(s, kCobrador1);
    f.m_Cobrador2 = Read(s, kCobrador2);
    f.m_Localidad = Read(s, kLocalidad);
    f.m_Vencimiento = Read(s, kVencimiento); // no default here: cleared means cleared
    ReadPercentages(s, f);
    ReadColourAndFill(s, f);
}

void WriteAtClose(platform::SettingsStore& s, const ReceiptFields& f) {
    auto text = [&s](const char* key, const std::string& value) {
        s.WriteString(kTalveroSection, key, value);
    };
    s.WriteInt(kTalveroSection, kBanner, f.m_Banner);
    text(kCobrador1, f.m_Cobrador1);
    text(kCobrador2, f.m_Cobrador2);
    text(kLocalidad, f.m_Localidad);
    text(kVencimiento, f.m_Vencimiento);
    text(kNumero, f.m_Numero);
    text(kPagador1, f.m_Pagador1);
    text(kPagador2, f.m_Pagador2);
    s.WriteInt(kTalveroSection, kBanner, f.m_Banner);
    text(kIva, f.m_Iva);
    text(kIrpf, f.m_Irpf);
    text(kRe, f.m_Re);
    text(kCobrador1, f.m_Cobrador1);
    text(kCobrador2, f.m_Cobrador2);
    const std::string* conceptos[5] = {&f.m_Concepto1, &f.m_Concepto2, &f.m_Concepto3,
                                       &f.m_Concepto4, &f.m_Concepto5};
    for (int i = 0; i < 5; ++i)
        text(kConcepto[i], *conceptos[i]);
    text(kDireccion, f.m_Direccion);
    const moneda::Currency importes[5] = {f.m_Importe1, f.m_Importe2, f.m_Importe3, f.m_Importe4,
                                          f.m_Importe5};
    for (int i = 0; i < 5; ++i)
        text(kImporte[i], moneda::FormatEuros(importes[i]));
    text(kColor, f.m_Color);
    text(kPluma, f.m_Relleno);
}

std::string ReadCarpetaPdf(const platform::SettingsStore& s) {
    return Read(s, kCarpetaPdf);
}

void WriteCarpetaPdf(platform::SettingsStore& s, const std::string& folder) {
    s.WriteString(kTalveroSection, kCarpetaPdf, folder);
}

} // namespace saved_settings
