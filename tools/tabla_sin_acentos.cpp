// Writes amounts/TablaSinAcentos.h, the Unicode data behind moneda::SinAcentos, from Qt's
// own normalisation and character categories, so that the money core folds accents exactly
// as the windows did with Qt before it had a fold of its own. Run it again, and compare, when
// the program moves to a Qt with a newer Unicode:
//
//     build/tools/tabla_sin_acentos > amounts/TablaSinAcentos.h
#include <QChar>
#include <QList>
#include <QString>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool EsMarca(char32_t c) {
    const QChar::Category cat = QChar::category(c);
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining ||
           cat == QChar::Mark_Enclosing;
}

bool EsSurrogado(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Hangul syllables decompose by arithmetic, in moneda::SinAcentos itself.
bool EsSilabaHangul(char32_t c) {
    return c >= 0xAC00 && c < 0xAC00 + 11172;
}

// A C++ UTF-16 literal of `texto`: printable ASCII as it is, the rest as universal character
// names, which the compiler writes as UTF-16.
std::string Literal(const QString& texto) {
    std::string l = "u\"";
    for (const char32_t c : texto.toUcs4()) {
        char buffer[16];
        if (c == '"' || c == '\\')
            std::snprintf(buffer, sizeof buffer, "\\%c", char(c));
        else if (c >= 0x20 && c < 0x7F)
            std::snprintf(buffer, sizeof buffer, "%c", char(c));
        else if (c <= 0xFFFF)
            std::snprintf(buffer, sizeof buffer, "\\u%04X", unsigned(c));
        else
            std::snprintf(buffer, sizeof buffer, "\\U%08X", unsigned(c));
        l += buffer;
    }
    return l + '"';
}

// Items written several to a line, within the 100 columns of the sources.
void Escribir(const std::vector<std::string>& items) {
    std::string linea = "   ";
    for (const std::string& item : items) {
        if (linea.size() + 1 + item.size() + 1 > 100) {
            std::printf("%s\n", linea.c_str());
            linea = "   ";
        }
        linea += ' ' + item + ',';
    }
    std::printf("%s\n", linea.c_str());
}

} // namespace

int main() {
    std::vector<std::string> marcas;
    char32_t desde = 0;
    int abierta = -1; // the kind of the range being gathered: 1 non-spacing, 0 other, -1 none
    for (char32_t c = 0; c <= 0x110000; ++c) {
        const int tipo = c < 0x110000 && EsMarca(c)
                             ? (QChar::category(c) == QChar::Mark_NonSpacing ? 1 : 0)
                             : -1;
        if (tipo == abierta)
            continue;
        if (abierta != -1) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "{0x%04X, 0x%04X, %s}", unsigned(desde),
                          unsigned(c - 1), abierta == 1 ? "true" : "false");
            marcas.emplace_back(buffer);
        }
        desde = c;
        abierta = tipo;
    }

    std::vector<std::string> descompuestas;
    for (char32_t c = 0; c < 0x110000; ++c) {
        if (EsSurrogado(c) || EsSilabaHangul(c))
            continue;
        const QString letra = QString::fromUcs4(&c, 1);
        const QString d = letra.normalized(QString::NormalizationForm_D);
        const QString kd = letra.normalized(QString::NormalizationForm_KD);
        if (d == letra && kd == letra)
            continue;
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "0x%04X", unsigned(c));
        descompuestas.push_back(std::string("{") + buffer + ", " +
                                Literal(d == letra ? QString() : d) + ", " +
                                Literal(kd == d ? QString() : kd) + "}");
    }

    std::printf(
        "// The Unicode data behind moneda::SinAcentos, as Qt %s has it: written by\n"
        "// tools/tabla_sin_acentos, not by hand.\n"
        "#pragma once\n"
        "\n"
        "#include <string_view>\n"
        "\n"
        "namespace moneda::sin_acentos {\n"
        "\n"
        "// The combining marks, in ranges of one kind: non-spacing (Mn) or not (Mc, Me).\n"
        "struct RangoDeMarcas {\n"
        "    char32_t desde, hasta;\n"
        "    bool noEspaciadas;\n"
        "};\n"
        "\n"
        "// The full decompositions of a character other than a Hangul syllable: canonical\n"
        "// (form D; empty when the character has none) and compatibility (form KD; empty when\n"
        "// it is the canonical one).\n"
        "struct Descompuesta {\n"
        "    char32_t letra;\n"
        "    std::u16string_view canonica, compatible;\n"
        "};\n"
        "\n"
        "// clang-format off\n"
        "inline constexpr RangoDeMarcas kMarcas[] = {\n",
        qVersion());
    Escribir(marcas);
    std::printf("};\n\ninline constexpr Descompuesta kDescompuestas[] = {\n");
    Escribir(descompuestas);
    std::printf("};\n// clang-format on\n\n} // namespace moneda::sin_acentos\n");
    return 0;
}
