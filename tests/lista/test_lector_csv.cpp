// The CSV reader against hand-made files as spreadsheets save them: encodings (Excel's
// "Unicode text" in UTF-16 among them), separators, Excel's "sep=" line, quotes, line breaks
// inside quotes, ragged and empty rows, limits; and against bytes no spreadsheet saves: stray
// bytes, half characters, control characters, huge rows.
#include "lista/LectorCsv.h"

#include <QTest>

using lista::LeerArchivoCsv;
using lista::LeerCsv;

namespace {

QString Datos(const char* nombre) {
    return QStringLiteral(TALVERO_LISTA_DATOS "/") + QLatin1String(nombre);
}

// Each row as "n:field|field|...", and its marked fields as " (campo 2: no UTF-8)",
// " (campo 2: no UTF-16)" or " (campo 2: control 1b)".
QStringList Filas(const lista::TablaCsv& t) {
    QStringList r;
    for (const auto& f : t.filas) {
        QString fila = QStringLiteral("%1:%2").arg(f.fila).arg(f.campos.join(u'|'));
        for (const lista::CaracterAjeno& a : f.ajenos)
            fila += QStringLiteral(" (campo %1: %2)")
                        .arg(a.campo + 1)
                        .arg(a.tipo == lista::CaracterAjeno::Tipo::NoUtf8 ? "no UTF-8"
                             : a.tipo == lista::CaracterAjeno::Tipo::NoUtf16
                                 ? "no UTF-16"
                                 : "control " + QString::number(a.control.unicode(), 16));
        r << fila;
    }
    return r;
}

// `texto` as a UTF-16 file: its byte-order mark, then each unit, paired or not.
QByteArray Utf16(std::u16string_view texto, bool bigEndian) {
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const char16_t u : texto) {
        const char alto = char(u >> 8), bajo = char(u & 0xFF);
        bytes.append(bigEndian ? alto : bajo).append(bigEndian ? bajo : alto);
    }
    return bytes;
}

} // namespace

class TestLectorCsv : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void archivos_data();
    void archivos();
    void contenidos_data();
    void contenidos();
    void gemelosUtf16_data();
    void gemelosUtf16();
    void utf16Defectuoso_data();
    void utf16Defectuoso();
    void errores();
    void limites();
};

void TestLectorCsv::archivos_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<QString>("dialecto");
    QTest::addColumn<QStringList>("filas");

    // --- encodings and separators
    QTest::newRow("UTF-8 with BOM, CRLF, an empty row counted but skipped")
        << "bom-puntoycoma.csv"
        << "UTF-8 con BOM, separador «;»"
        << QStringList{"1:Pagador|Concepto 1|Importe 1", "2:Ana Pérez|Alquiler marzo|650,00",
                       "4:Luis Gómez|Alquiler marzo|1.200,50"};
    QTest::newRow("not UTF-8 read as Windows-1252, euro sign included")
        << "windows-1252.csv"
        << "Windows-1252, separador «;»"
        << QStringList{"1:Pagador|Concepto 1|Importe 1", "2:José Núñez|Cuota año|45,00 €"};
    QTest::newRow("commas, quoted comma and doubled quotes")
        << "coma.csv"
        << "UTF-8, separador «,»"
        << QStringList{"1:pagador1|concepto|importe", "2:Roca, Marta|Cuota \"socio\"|30"};
    QTest::newRow("Unicode text, tabs, quoted tab and line break, a character past 16 bits")
        << "texto-unicode-utf8.txt"
        << "UTF-8, separador tabulador"
        << QStringList{"1:Pagador|Concepto 1|Importe 1|Dirección",
                       "2:Ana Peña Gil|Cuota\tdel club|30,00|C/ Mayor 3, 1º A",
                       "4:Luis Gómez|Amarre\ny luz|1.200,50|Muelle \U0001F6A4 4"};
    QTest::newRow("tabs") << "tabulador.csv"
                          << "UTF-8, separador tabulador"
                          << QStringList{"1:Pagador|Concepto 1|Importe 1",
                                         "2:Club Náutico|Amarre|120,00"};
    // --- rows as a spreadsheet numbers them
    QTest::newRow("sep= line honoured and not a row")
        << "sep-linea.csv"
        << "UTF-8, separador «;»"
        << QStringList{"1:Pagador|Concepto 1|Importe 1", "2:Peña, Irene|Luz, agua|12,5"};
    QTest::newRow("line break inside quotes is one row; ragged and empty rows")
        << "saltos.csv"
        << "UTF-8, separador «;»"
        << QStringList{"1:Pagador|Concepto 1|Importe 1", "2:Comunidad\nBloque 2|Derrama|10",
                       "3:Eva Sanz", "5:Leo Ruiz|Cuota|5"};
}

void TestLectorCsv::archivos() {
    QFETCH(QString, archivo);
    QFETCH(QString, dialecto);
    QFETCH(QStringList, filas);
    const lista::TablaCsv t = LeerArchivoCsv(QStringLiteral(TALVERO_LISTA_DATOS "/") + archivo);
    QCOMPARE(t.error, QString());
    QCOMPARE(t.dialecto.Descripcion(), dialecto);
    QCOMPARE(Filas(t), filas);
}

void TestLectorCsv::contenidos_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("filas");
    QTest::addColumn<QString>("error");

    // --- encodings: a few stray bytes do not make a UTF-8 file Windows-1252
    QTest::newRow("a stray byte marks its field, a U+FFFD the file holds is text")
        << QByteArray("Pagador;Dirección\nJos\xE9;\xEF\xBF\xBD Peña\n")
        << QStringList{"1:Pagador|Dirección", "2:Jos\uFFFD|\uFFFD Peña (campo 1: no UTF-8)"} << "";
    QTest::newRow("a sequence cut at the end of the file")
        << QByteArray("Pagador\nPeña\nLuis\xC3")
        << QStringList{"1:Pagador", "2:Peña", "3:Luis\uFFFD (campo 1: no UTF-8)"} << "";
    QTest::newRow("a stray byte in the header refuses the file")
        << QByteArray("Pagador;Direcci\xF3n\nPeña;Mayor 3\n") << QStringList{}
        << "Fila 1, columna 2: tiene un carácter que no es UTF-8 («Direcci\uFFFDn»); corríjalo en "
           "la hoja de cálculo y guarde la lista como CSV UTF-8";
    // --- control characters: a tab is text anywhere, a line break inside quotes
    QTest::newRow("a C1 control, an escape after a closing quote, a null")
        << QByteArray("Pagador;Concepto 1;Concepto 2\nAna\xC2\x85;\"Luz\"\x1B[2J;") + '\0'
        << QStringList{"1:Pagador|Concepto 1|Concepto 2",
                       QStringLiteral("2:Ana\u0085|Luz\x1B[2J|\0 (campo 1: control 85) (campo 2: "
                                      "control 1b) (campo 3: control 0)")}
        << "";
    QTest::newRow("tabs, and CR LF inside quotes as one line break")
        << QByteArray("Pagador;Concepto 1\r\nAna\tGil;\"Luz\r\nagua\"\r\n")
        << QStringList{"1:Pagador|Concepto 1", "2:Ana\tGil|Luz\nagua"} << "";
    // --- limits: a record's fields are counted past the limit, not kept
    QTest::newRow("501 fields in the header")
        << QByteArray("a") + QByteArray(";a").repeated(500) << QStringList{}
        << "la fila 1 tiene 501 campos; una lista admite 500 columnas como mucho";
    QTest::newRow("a row of a million empty fields")
        << QByteArray("Pagador\n") + QByteArray(999999, ';') << QStringList{}
        << "la fila 2 tiene 1.000.000 campos; una lista admite 500 columnas como mucho";
}

void TestLectorCsv::contenidos() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, filas);
    QFETCH(QString, error);
    const lista::TablaCsv t = LeerCsv(bytes);
    QCOMPARE(t.error, error);
    QCOMPARE(t.dialecto.Descripcion(), QStringLiteral("UTF-8, separador «;»"));
    QCOMPARE(Filas(t), filas);
}

// Excel's "Unicode text": UTF-16 with a byte-order mark, read as the same file in UTF-8.
void TestLectorCsv::gemelosUtf16_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<QString>("dialecto");

    QTest::newRow("little-endian, as Excel saves it") << "texto-unicode-le.txt"
                                                      << "UTF-16 LE, separador tabulador";
    QTest::newRow("big-endian") << "texto-unicode-be.txt"
                                << "UTF-16 BE, separador tabulador";
}

void TestLectorCsv::gemelosUtf16() {
    QFETCH(QString, archivo);
    QFETCH(QString, dialecto);
    const lista::TablaCsv gemelo = LeerArchivoCsv(Datos("texto-unicode-utf8.txt"));
    const lista::TablaCsv t = LeerArchivoCsv(QStringLiteral(TALVERO_LISTA_DATOS "/") + archivo);
    QCOMPARE(t.error, QString());
    QCOMPARE(t.dialecto.Descripcion(), dialecto);
    QCOMPARE(Filas(t), Filas(gemelo));
}

// Half a character in a UTF-16 file marks its field, as a stray byte does in a UTF-8 one.
void TestLectorCsv::utf16Defectuoso_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("filas");
    QTest::addColumn<QString>("error");

    QTest::newRow("an odd last byte")
        << Utf16(u"Pagador\nLuis", false) + 'A'
        << QStringList{"1:Pagador", "2:Luis\uFFFD (campo 1: no UTF-16)"} << "";
    QTest::newRow("a high surrogate without its pair")
        << Utf16(u"Pagador;Concepto 1\nAna;Luz \xD83D agua\n", true)
        << QStringList{"1:Pagador|Concepto 1", "2:Ana|Luz \uFFFD agua (campo 2: no UTF-16)"} << "";
    QTest::newRow("a low surrogate alone; a U+FFFD the file holds is text")
        << Utf16(u"Pagador;Dirección\nJos\xDC00;\xFFFD Peña\n", false)
        << QStringList{"1:Pagador|Dirección", "2:Jos\uFFFD|\uFFFD Peña (campo 1: no UTF-16)"} << "";
    QTest::newRow("a high surrogate at the very end")
        << Utf16(u"Pagador\nAna\xD83D", true)
        << QStringList{"1:Pagador", "2:Ana\uFFFD (campo 1: no UTF-16)"} << "";
    QTest::newRow("half a character in the header refuses the file")
        << Utf16(u"Pagador;Direcci\xD800n\nPeña;Mayor 3\n", false) << QStringList{}
        << "Fila 1, columna 2: tiene un carácter que no es UTF-16 («Direcci\uFFFDn»); "
           "corríjalo en la hoja de cálculo y guarde la lista de nuevo";
}

void TestLectorCsv::utf16Defectuoso() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, filas);
    QFETCH(QString, error);
    const lista::TablaCsv t = LeerCsv(bytes);
    QCOMPARE(t.error, error);
    QCOMPARE(Filas(t), filas);
}

void TestLectorCsv::errores() {
    QCOMPARE(LeerCsv("\xEF\xBB\xBFPagador\nJos\xE9\n").error,
             QStringLiteral("el archivo dice ser UTF-8 pero tiene bytes que no lo son"));
    const lista::TablaCsv abiertas = LeerArchivoCsv(Datos("comillas-abiertas.csv"));
    QCOMPARE(abiertas.error,
             QStringLiteral("Fila 2: unas comillas abiertas no se cierran (desde el carácter 20)"));
    QVERIFY(abiertas.filas.empty());
}

void TestLectorCsv::limites() {
    const lista::LimitesCsv pocos{1024, 2};
    QCOMPARE(LeerCsv("h\n1\n\n2\n", pocos).error, QString());
    QCOMPARE(LeerCsv("h\n1\n2\n3\n", pocos).error,
             QStringLiteral("el archivo tiene más de 2 filas además de la cabecera"));
    const lista::LimitesCsv pequeno{3 * 1024 * 1024, 10};
    QCOMPARE(LeerCsv(QByteArray(3 * 1024 * 1024 + 1, 'a'), pequeno).error,
             QStringLiteral("el archivo ocupa más de 3 MiB"));
    QCOMPARE(LeerArchivoCsv(Datos("no-existe.csv")).error,
             QStringLiteral("no existe el archivo «%1»").arg(Datos("no-existe.csv")));
}

QTEST_GUILESS_MAIN(TestLectorCsv)
#include "test_lector_csv.moc"
