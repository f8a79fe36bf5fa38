#include "sepa/TextoSepa.h"

#include "amounts/SinAcentos.h"

#include <QString>

#include <algorithm>
#include <array>

namespace sepa {

namespace {

bool EsLetraOCifra(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool EsSignoSepa(char16_t c) {
    return std::u16string_view(u" /-?:().,'+").find(c) != std::u16string_view::npos;
}

// Letters that no decomposition takes to a-z, as the banks' conversion spells them, and the
// Catalan raised dot of "l·l", written "l.l" where it cannot be.
struct Transcrita {
    char16_t letra;
    std::string_view latinas;
};
constexpr std::array<Transcrita, 22> kTranscritas{
    {{u'ß', "ss"}, {u'ẞ', "SS"}, {u'Æ', "AE"}, {u'æ', "ae"}, {u'Œ', "OE"}, {u'œ', "oe"},
     {u'Ø', "O"},  {u'ø', "o"},  {u'Ð', "D"},  {u'ð', "d"},  {u'Đ', "D"},  {u'đ', "d"},
     {u'Þ', "TH"}, {u'þ', "th"}, {u'Ł', "L"},  {u'ł', "l"},  {u'Ħ', "H"},  {u'ħ', "h"},
     {u'ı', "i"},  {u'Ŧ', "T"},  {u'ŧ', "t"},  {u'·', "."}}};

const Transcrita* Transcripcion(char16_t c) {
    const auto it = std::find_if(kTranscritas.begin(), kTranscritas.end(),
                                 [c](const Transcrita& t) { return t.letra == c; });
    return it == kTranscritas.end() ? nullptr : &*it;
}

void QuitarEspaciosFinales(std::string& texto) {
    texto.erase(std::find_if(texto.rbegin(), texto.rend(), [](char c) { return c != ' '; }).base(),
                texto.end());
}

} // namespace

bool EsCaracterSepa(char c) {
    return EsLetraOCifra(char16_t(static_cast<unsigned char>(c))) ||
           EsSignoSepa(char16_t(static_cast<unsigned char>(c)));
}

std::string TextoSepa(std::string_view utf8, std::size_t limite) {
    // Compatibility decomposition turns "ñ" into "n" and a combining tilde, "º" or "ª" into
    // plain letters, and "Ŀ" into "L" and a raised dot; the marks are then dropped.
    const std::u16string plano =
        moneda::SinAcentos(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toStdU16String(),
                           moneda::Descomposicion::Compatibilidad, moneda::Marcas::Todas);
    std::string sepa;
    sepa.reserve(plano.size());
    for (std::size_t i = 0; i < plano.size(); ++i) {
        const char16_t u = plano[i];
        if (EsLetraOCifra(u) || EsSignoSepa(u)) {
            sepa.push_back(char(u));
        } else if (u == u'&') {
            sepa.push_back('+');
        } else if (const Transcrita* t = Transcripcion(u)) {
            sepa.append(t->latinas);
        } else {
            // A character outside the basic plane is two UTF-16 units and one space.
            if (QChar::isHighSurrogate(u) && i + 1 < plano.size() &&
                QChar::isLowSurrogate(plano[i + 1]))
                ++i;
            sepa.push_back(' ');
        }
    }
    sepa.erase(0, std::min(sepa.find_first_not_of(' '), sepa.size()));
    if (sepa.size() > limite)
        sepa.resize(limite);
    QuitarEspaciosFinales(sepa);
    return sepa;
}

std::string PrimerCaracterNoAdmitido(std::string_view utf8, bool (*admitido)(char)) {
    const auto inicio = std::find_if_not(utf8.begin(), utf8.end(), admitido);
    if (inicio == utf8.end())
        return {};
    const auto fin = std::find_if(inicio + 1, utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return std::string(inicio, fin);
}

std::size_t Caracteres(std::string_view utf8) {
    // Continuation bytes (10xxxxxx) do not start a character.
    return std::size_t(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string InformacionRemesa(std::string_view numero, const std::vector<std::string>& conceptos) {
    constexpr std::size_t kLimite = 140;
    std::string texto = "Recibo";
    const std::string referencia = TextoSepa(numero);
    if (!referencia.empty())
        texto += " " + referencia;
    const std::size_t cabecera = texto.size();
    const char* separador = ": ";
    for (const std::string& concepto : conceptos) {
        const std::string linea = TextoSepa(concepto);
        if (linea.empty())
            continue;
        texto += separador;
        texto += linea;
        separador = " / ";
        // The rest would be cut off anyway.
        if (texto.size() > kLimite)
            break;
    }
    if (texto.size() <= kLimite)
        return texto;
    // At the last space among the concepts that keeps the text within the limit, without
    // the separator that would end it; concepts with no space to cut at are cut at the limit.
    const std::size_t espacio = texto.rfind(' ', kLimite);
    texto.resize(espacio == std::string::npos || espacio <= cabecera + 1 ? kLimite : espacio);
    while (!texto.empty() && (texto.back() == ' ' || texto.back() == '/' || texto.back() == ':' ||
                              texto.back() == ','))
        texto.pop_back();
    return texto;
}

} // namespace sepa
