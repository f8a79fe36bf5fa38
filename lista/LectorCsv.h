// A spreadsheet's CSV file as rows of texts. Knows nothing of what the texts mean.
//
// The dialect is found once per file: UTF-8 with or without a byte-order mark, or
// Windows-1252 for a file that is not valid UTF-8; the separator among ";", "," and tab,
// counted outside quotes on the first record, unless an Excel "sep=X" first line names it.
// Fields follow RFC 4180: a field that begins with a quote runs to the next lone quote,
// a doubled quote inside it is one quote, and line breaks inside it belong to the field.
//
// Rows are numbered as a spreadsheet shows them: the first record is row 1 and every
// following record, empty or not and whatever line breaks it holds inside quotes, is the
// next row; a "sep=" line is not a row. Records whose fields are all empty are skipped.
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

namespace lista {

struct DialectoCsv {
    enum class Codificacion { Utf8, Utf8ConBom, Windows1252 };
    Codificacion codificacion = Codificacion::Utf8;
    QChar separador = u';';
    bool lineaSep = false; // the file began with "sep=X"

    // For the user: "UTF-8 con BOM, separador «;»".
    QString Descripcion() const;
};

struct FilaCsv {
    qsizetype fila = 0; // as the spreadsheet numbers it
    QStringList campos;
};

struct LimitesCsv {
    qint64 bytes = 20 * 1024 * 1024;
    qsizetype filasDeDatos = 10000; // records after the first one
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
