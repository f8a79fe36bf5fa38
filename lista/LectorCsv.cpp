#include "lista/LectorCsv.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>

#include <array>

namespace lista {

namespace {

constexpr std::array<QChar, 3> kSeparadores{u';', u',', u'\t'};

QString Decodificar(QByteArray bytes, DialectoCsv& dialecto, QString& error) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        dialecto.codificacion = DialectoCsv::Codificacion::Utf8ConBom;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(bytes);
    if (!utf8.hasError())
        return texto;
    if (dialecto.codificacion == DialectoCsv::Codificacion::Utf8ConBom) {
        error = QStringLiteral("el archivo dice ser UTF-8 pero tiene bytes que no lo son");
        return {};
    }
    // What a spreadsheet on Windows writes when it is not told UTF-8.
    QStringDecoder ansi("windows-1252");
    if (!ansi.isValid()) {
        error = QStringLiteral("el archivo no es UTF-8 y este equipo no sabe leer Windows-1252");
        return {};
    }
    dialecto.codificacion = DialectoCsv::Codificacion::Windows1252;
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
    for (const QString& c : campos)
        if (!c.trimmed().isEmpty())
            return false;
    return true;
}

QString DemasiadoGrande(const LimitesCsv& limites) {
    return QStringLiteral("el archivo ocupa más de %1 MiB")
        .arg(QLocale(QLocale::Spanish).toString(limites.bytes / (1024 * 1024)));
}

} // namespace

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
    const QString t = Decodificar(bytes, tabla.dialecto, tabla.error);
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

    qsizetype fila = 0;
    qsizetype datos = -1; // the first record is the header
    QStringList campos;
    QString campo;
    while (i < t.size()) {
        // One record: fields up to an unquoted line break or the end.
        ++fila;
        campos.clear();
        for (;;) {
            campo.clear();
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
                    ++i;
                }
            }
            // Unquoted text, or what a sloppy writer left after the closing quote.
            while (i < t.size() && t[i] != sep && !FinDeLinea(t[i]))
                campo += t[i++];
            campos << campo;
            if (i < t.size() && t[i] == sep) {
                ++i;
                continue;
            }
            if (i < t.size())
                i = TrasFinDeLinea(t, i);
            break;
        }
        if (TodoVacio(campos))
            continue;
        if (++datos > limites.filasDeDatos) {
            tabla.error = QStringLiteral("el archivo tiene más de %1 filas además de la cabecera")
                              .arg(QLocale(QLocale::Spanish).toString(limites.filasDeDatos));
            tabla.filas.clear();
            return tabla;
        }
        tabla.filas.push_back({fila, campos});
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
