// A spreadsheet's CSV file as rows of texts. Knows nothing of what the texts mean.
//
// The dialect is found once per file: UTF-8 with or without a byte-order mark, UTF-16 with
// its byte-order mark (Excel's "Unicode text", little-endian, or big-endian), or
// Windows-1252 for a file without a single character UTF-8 writes in several bytes; the
// separator among ";", "," and tab, counted outside quotes on the first record, unless an
// Excel "sep=X" first line names it.
// Fields follow RFC 4180: a field that begins with a quote runs to the next lone quote,
// a doubled quote inside it is one quote, and line breaks inside it belong to the field.
//
// Rows are numbered as a spreadsheet shows them: the first record is row 1 and every
// following record, empty or not and whatever line breaks it holds inside quotes, is the
// next row; a "sep=" line is not a row. Records whose fields are all empty are skipped.
//
// A UTF-8 file with a few bytes that are not UTF-8 (a cell pasted from another program) is
// still UTF-8: each such byte reads as U+FFFD and its field is marked; so is half a character
// of a UTF-16 file (a surrogate without its pair, an odd last byte), and a field with a
// control character, which no spreadsheet writes (a tab may stand anywhere, a line break
// inside quotes). Whoever reads the rows decides what a marked field means; a mark in the
// first record, the header, refuses the file.
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

namespace lista {

struct DialectoCsv {
    enum class Codificacion { Utf8, Utf8ConBom, Windows1252, Utf16Le, Utf16Be };
    Codificacion codificacion = Codificacion::Utf8;
    QChar separador = u';';
    bool lineaSep = false; // the file began with "sep=X"

    // For the user: "UTF-8 con BOM, separador «;»", "UTF-16 LE, separador tabulador".
    QString Descripcion() const;
};

// The first character of a field that a spreadsheet would not have written.
struct CaracterAjeno {
    enum class Tipo { NoUtf8, NoUtf16, Control };
    qsizetype campo = 0; // index in the row's fields
    Tipo tipo = Tipo::NoUtf8;
    QChar control; // the control character, for Tipo::Control
};

// Spanish, for "Fila N, Columna: ...": what is wrong with the field `celda`.
QString TextoAjeno(const CaracterAjeno& ajeno, const QString& celda);

struct FilaCsv {
    qsizetype fila = 0; // as the spreadsheet numbers it
    QStringList campos;
    std::vector<CaracterAjeno> ajenos; // at most one per field, in field order
};

struct LimitesCsv {
    qint64 bytes = 20 * 1024 * 1024;
    qsizetype filasDeDatos = 10000; // records after the first one
    qsizetype campos = 500;         // per record; a list has about forty columns
};

struct TablaCsv {
    DialectoCsv dialecto;
    std::vector<FilaCsv> filas; // the first one is the header
    QString error;              // Spanish, empty when the file was read
};

TablaCsv LeerCsv(const QByteArray& bytes, const LimitesCsv& limites = {});
// The same from a file; a missing, unreadable or too large file gives its error.
TablaCsv LeerArchivoCsv(const QString& ruta, const LimitesCsv& limites = {});

} // namespace lista
