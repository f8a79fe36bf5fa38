#include "lista/LectorCsv.h"

#include "lista/Cita.h"

#include "amounts/moneda.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace lista {

namespace {

constexpr std::array<QChar, 3> kSeparadores{u';', u',', u'\t'};

// The text of a UTF-16 file after its byte-order mark. Half a character (a surrogate without
// its pair, an odd last byte) reads as U+FFFD; `ilegibles` is then the same text with a null
// there, else empty.
QString DecodificarUtf16(QByteArrayView bytes, bool bigEndian, QString& ilegibles) {
    QString texto;
    texto.reserve(bytes.size() / 2 + 1);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto alto = std::uint8_t(bytes[bigEndian ? i : i + 1]);
        const auto bajo = std::uint8_t(bytes[bigEndian ? i + 1 : i]);
        texto += QChar(char16_t(alto << 8 | bajo));
    }
    std::vector<qsizetype> medios;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto[i].isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate())
            ++i;
        else if (texto[i].isSurrogate())
            medios.push_back(i);
    }
    if (bytes.size() % 2 != 0) {
        medios.push_back(texto.size());
        texto += QChar::ReplacementCharacter;
    }
    if (!medios.empty()) {
        ilegibles = texto;
        for (const qsizetype i : medios) {
            texto[i] = QChar::ReplacementCharacter;
            ilegibles[i] = QChar(u'\0');
        }
    }
    return texto;
}

// The text of `bytes`. For a file with bytes that are not of its encoding, `ilegibles` is
// the same text with a null where each such byte was (the text has U+FFFD there); else empty.
QString Decodificar(QByteArray bytes, DialectoCsv& dialecto, QString& ilegibles, QString& error) {
    // Excel's "Unicode text": the mark tells the order of the two bytes of each unit.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool bigEndian = bytes.startsWith("\xFE\xFF");
        dialecto.codificacion =
            bigEndian ? DialectoCsv::Codificacion::Utf16Be : DialectoCsv::Codificacion::Utf16Le;
        return DecodificarUtf16(QByteArrayView(bytes).sliced(2), bigEndian, ilegibles);
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        dialecto.codificacion = DialectoCsv::Codificacion::Utf8ConBom;
    }
    // Read with one more byte, taken off the text: Qt reads a sequence cut at the very end as
    // U+FFFD whatever it is told, and that one has to be found like any other.
    bytes.append('\n');
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(bytes);
    texto.chop(1);
    if (!utf8.hasError())
        return texto;
    if (dialecto.codificacion == DialectoCsv::Codificacion::Utf8ConBom) {
        error = QStringLiteral("el archivo dice ser UTF-8 pero tiene bytes que no lo son");
        return {};
    }
    // Read again with a null for each byte that is not UTF-8: where the two readings differ
    // is where such a byte was, told apart from a U+FFFD or a null the file itself holds.
    QStringDecoder nulos(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                   QStringDecoder::Flag::ConvertInvalidToNull);
    ilegibles = nulos.decode(bytes);
    ilegibles.chop(1);
    if (ilegibles.size() != texto.size()) // never: both put one character for each fault
        ilegibles = QString(texto).replace(QChar::ReplacementCharacter, QChar(u'\0'));
    // A few stray bytes in a file of UTF-8 characters are faults of the cells that hold them;
    // a file without a single character that UTF-8 writes in several bytes is Windows-1252.
    for (qsizetype i = 0; i < texto.size(); ++i)
        if (texto[i].unicode() >= 0x80 && ilegibles[i] == texto[i])
            return texto;
    ilegibles.clear();
    // What a spreadsheet on Windows writes when it is not told UTF-8.
    QStringDecoder ansi("windows-1252");
    if (!ansi.isValid()) {
        error = QStringLiteral("el archivo no es UTF-8 y este equipo no sabe leer Windows-1252");
        return {};
    }
    dialecto.codificacion = DialectoCsv::Codificacion::Windows1252;
    bytes.chop(1);
    return ansi.decode(bytes);
}

bool FinDeLinea(QChar c) {
    return c == u'\n' || c == u'\r';
}

// Skips one line break at `i` (CR LF counts as one).
qsizetype TrasFinDeLinea(const QString& t, qsizetype i) {
    if (t[i] == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n')
        return i + 2;
    return i + 1;
}

// The separator most frequent outside quotes in the first record; ";" when none is.
QChar DetectarSeparador(const QString& t, qsizetype desde) {
    std::array<int, kSeparadores.size()> cuenta{};
    bool entreComillas = false;
    for (qsizetype i = desde; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'"')
            entreComillas = !entreComillas;
        else if (!entreComillas && FinDeLinea(c))
            break;
        else if (!entreComillas)
            for (std::size_t k = 0; k < kSeparadores.size(); ++k)
                cuenta[k] += c == kSeparadores[k] ? 1 : 0;
    }
    std::size_t mejor = 0;
    for (std::size_t k = 1; k < kSeparadores.size(); ++k)
        if (cuenta[k] > cuenta[mejor])
            mejor = k;
    return kSeparadores[mejor];
}

bool TodoVacio(const QStringList& campos) {
    return std::all_of(campos.begin(), campos.end(),
                       [](const QString& c) { return QStringView(c).trimmed().isEmpty(); });
}

QString DemasiadoGrande(const LimitesCsv& limites) {
    return QStringLiteral("el archivo ocupa más de %1 MiB")
        .arg(QLocale(QLocale::Spanish).toString(limites.bytes / (1024 * 1024)));
}

} // namespace

QString TextoAjeno(const CaracterAjeno& ajeno, const QString& celda) {
    if (ajeno.tipo == CaracterAjeno::Tipo::NoUtf8)
        return QStringLiteral("tiene un carácter que no es UTF-8 («%1»); corríjalo en la hoja de "
                              "cálculo y guarde la lista como CSV UTF-8")
            .arg(Cita(celda));
    if (ajeno.tipo == CaracterAjeno::Tipo::NoUtf16)
        return QStringLiteral("tiene un carácter que no es UTF-16 («%1»); corríjalo en la hoja "
                              "de cálculo y guarde la lista de nuevo")
            .arg(Cita(celda));
    return QStringLiteral("tiene un carácter de control (U+%1) que ninguna hoja de cálculo "
                          "escribe; bórrelo")
        .arg(QString::number(ajeno.control.unicode(), 16).toUpper().rightJustified(4, u'0'));
}

QString DialectoCsv::Descripcion() const {
    QString cod;
    switch (codificacion) {
    case Codificacion::Utf8:
        cod = QStringLiteral("UTF-8");
        break;
    case Codificacion::Utf8ConBom:
        cod = QStringLiteral("UTF-8 con BOM");
        break;
    case Codificacion::Windows1252:
        cod = QStringLiteral("Windows-1252");
        break;
    case Codificacion::Utf16Le:
        cod = QStringLiteral("UTF-16 LE");
        break;
    case Codificacion::Utf16Be:
        cod = QStringLiteral("UTF-16 BE");
        break;
    }
    const QString sep =
        separador == u'\t' ? QStringLiteral("tabulador") : QStringLiteral("«%1»").arg(separador);
    return QStringLiteral("%1, separador %2").arg(cod, sep);
}

TablaCsv LeerCsv(const QByteArray& bytes, const LimitesCsv& limites) {
    TablaCsv tabla;
    if (bytes.size() > limites.bytes) {
        tabla.error = DemasiadoGrande(limites);
        return tabla;
    }
    QString ilegibles;
    const QString t = Decodificar(bytes, tabla.dialecto, ilegibles, tabla.error);
    if (!tabla.error.isEmpty())
        return tabla;

    qsizetype i = 0;
    if (t.startsWith(QLatin1String("sep="), Qt::CaseInsensitive) && t.size() >= 5 &&
        std::find(kSeparadores.begin(), kSeparadores.end(), t[4]) != kSeparadores.end() &&
        (t.size() == 5 || FinDeLinea(t[5]))) {
        tabla.dialecto.separador = t[4];
        tabla.dialecto.lineaSep = true;
        i = t.size() == 5 ? 5 : TrasFinDeLinea(t, 5);
    } else {
        tabla.dialecto.separador = DetectarSeparador(t, 0);
    }
    const QChar sep = tabla.dialecto.separador;
    const bool utf16 = tabla.dialecto.codificacion == DialectoCsv::Codificacion::Utf16Le ||
                       tabla.dialecto.codificacion == DialectoCsv::Codificacion::Utf16Be;
    const CaracterAjeno::Tipo ilegible =
        utf16 ? CaracterAjeno::Tipo::NoUtf16 : CaracterAjeno::Tipo::NoUtf8;

    qsizetype fila = 0;
    qsizetype datos = -1; // the first record is the header
    QString campo;
    while (i < t.size()) {
        // One record: fields up to an unquoted line break or the end.
        FilaCsv registro{++fila, {}, {}};
        qsizetype campos = 0; // counted past the limit too, but not kept
        for (;;) {
            campo.clear();
            std::optional<CaracterAjeno> ajeno;
            // Marks the field at the first character that a spreadsheet would not have written.
            const auto revisar = [&](qsizetype k, bool entreComillas) {
                if (ajeno)
                    return;
                const QChar c = t[k];
                if (c == QChar::ReplacementCharacter && !ilegibles.isEmpty() && ilegibles[k] != c)
                    ajeno = CaracterAjeno{campos, ilegible, {}};
                else if (c.category() == QChar::Other_Control && c != u'\t' &&
                         !(entreComillas && c == u'\n'))
                    ajeno = CaracterAjeno{campos, CaracterAjeno::Tipo::Control, c};
            };
            if (i < t.size() && t[i] == u'"') {
                const qsizetype abre = i++;
                for (;;) {
                    if (i >= t.size()) {
                        tabla.error = QStringLiteral("Fila %1: unas comillas abiertas no se "
                                                     "cierran (desde el carácter %2)")
                                          .arg(fila)
                                          .arg(abre + 1);
                        tabla.filas.clear();
                        return tabla;
                    }
                    if (t[i] == u'"') {
                        if (i + 1 < t.size() && t[i + 1] == u'"') {
                            campo += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (t[i] == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n')
                        ++i; // a line break inside a field is kept as one "\n"
                    campo += t[i] == u'\r' ? QChar(u'\n') : t[i];
                    revisar(i, true);
                    ++i;
                }
            }
            // Unquoted text, or what a sloppy writer left after the closing quote.
            const qsizetype desde = i;
            while (i < t.size() && t[i] != sep && !FinDeLinea(t[i]))
                revisar(i++, false);
            // Past the limit the record is refused: its fields need not be kept. A field is
            // kept in a string of its own size: a list may hold five million of them.
            if (campos < limites.campos) {
                const QStringView resto = QStringView(t).sliced(desde, i - desde);
                registro.campos << (campo.isEmpty() ? resto.toString() : campo.append(resto));
                if (ajeno)
                    registro.ajenos.push_back(*ajeno);
            }
            ++campos;
            if (i < t.size() && t[i] == sep) {
                ++i;
                continue;
            }
            if (i < t.size())
                i = TrasFinDeLinea(t, i);
            break;
        }
        if (campos > limites.campos) {
            tabla.error = QStringLiteral("la fila %1 tiene %2 campos; una lista admite %3 "
                                         "columnas como mucho")
                              .arg(fila)
                              .arg(QString::fromStdString(moneda::FormatThousands(campos)))
                              .arg(limites.campos);
            tabla.filas.clear();
            return tabla;
        }
        if (TodoVacio(registro.campos))
            continue;
        registro.campos.squeeze();
        // The header names the columns: a title that is not what the file meant is no column.
        if (datos == -1 && !registro.ajenos.empty()) {
            const CaracterAjeno& a = registro.ajenos.front();
            tabla.error = QStringLiteral("Fila %1, columna %2: %3")
                              .arg(fila)
                              .arg(a.campo + 1)
                              .arg(TextoAjeno(a, registro.campos[a.campo]));
            return tabla;
        }
        if (++datos > limites.filasDeDatos) {
            tabla.error = QStringLiteral("el archivo tiene más de %1 filas además de la cabecera")
                              .arg(QLocale(QLocale::Spanish).toString(limites.filasDeDatos));
            tabla.filas.clear();
            return tabla;
        }
        tabla.filas.push_back(std::move(registro));
    }
    return tabla;
}

TablaCsv LeerArchivoCsv(const QString& ruta, const LimitesCsv& limites) {
    TablaCsv tabla;
    QFile archivo(ruta);
    const QFileInfo info(ruta);
    if (!info.exists())
        tabla.error = QStringLiteral("no existe el archivo «%1»").arg(ruta);
    else if (!info.isFile())
        tabla.error = QStringLiteral("«%1» no es un archivo").arg(ruta);
    else if (info.size() > limites.bytes)
        tabla.error = DemasiadoGrande(limites);
    else if (!archivo.open(QIODevice::ReadOnly))
        tabla.error = QStringLiteral("no se puede leer «%1»: %2").arg(ruta, archivo.errorString());
    if (!tabla.error.isEmpty())
        return tabla;
    // Read one byte past the limit: a file that grew since it was looked at is still refused.
    return LeerCsv(archivo.read(limites.bytes + 1), limites);
}

} // namespace lista
