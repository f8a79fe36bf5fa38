// The row rules of a list of receipts, each with its message, the one reader of date cells,
// the columns found by header, the template's fields where the list has no column, the
// numbering, and the texts of the register's export read back as they were.
#include "lista/Lista.h"

#include "SampleRecords.h"
#include "platform/SettingsStore.h"
#include "receipt/ReciboTexto.h"
#include "register/ExportarCsv.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTest>

using lista::NumerosDelRegistro;

namespace {

lista::TiposPermitidos Tipos() {
    // Through a real settings file, as the form keeps the lists.
    QTemporaryDir dir;
    platform::SettingsStore ajustes((dir.path() + QStringLiteral("/t.ini")).toStdString());
    ajustes.WriteString("Aplicacion Talvero", "TiposIVA", "0;4;10;21");
    ajustes.WriteString("Aplicacion Talvero", "TiposRE", "0;0,5;1,4;5,2");
    ajustes.Flush();
    return lista::TiposDeAjustes(
        platform::SettingsStore((dir.path() + QStringLiteral("/t.ini")).toStdString()));
}

lista::ListaRevisada Revisar(const QByteArray& csv, const NumerosDelRegistro& registro = {}) {
    return lista::RevisarLista(lista::LeerCsv(csv), sample::Filled(), Tipos(), registro);
}
lista::ListaRevisada Revisar(const QString& csv, const NumerosDelRegistro& registro = {}) {
    return Revisar(csv.toUtf8(), registro);
}

QStringList Mensajes(const lista::ListaRevisada& l) {
    QStringList m = l.avisos;
    if (!l.error.isEmpty())
        m << l.error;
    for (const auto& f : l.filas)
        m << f.errores << f.avisos;
    return m;
}

// The fields a rule writes, in one line.
QString Describir(const CRecibo& r) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6/%7/%8|%9")
               .arg(QString::fromStdString(r.m_Numero),
                    QString::fromStdString(r.m_Fecha.TextoIso()),
                    QString::fromStdString(r.m_Pagador1),
                    QString::fromStdString(moneda::FormatEuros(r.m_Importe1)),
                    QString::fromStdString(r.m_Concepto1), QString::fromStdString(r.m_Iva),
                    QString::fromStdString(r.m_Re), QString::fromStdString(r.m_Irpf),
                    QString::fromStdString(moneda::FormatEuros(recibo::TotalRecibo(r)))) +
           QStringLiteral("|%1|%2").arg(r.m_ColorFondo).arg(r.m_Solido);
}

} // namespace

class TestListaReglas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rechazos_data();
    void rechazos();
    void caracteres_data();
    void caracteres();
    void fechas_data();
    void fechas();
    void lecturas_data();
    void lecturas();
    void numeracion_data();
    void numeracion();
    void exportadoDelRegistro();
    void textosExportados_data();
    void textosExportados();
};

void TestListaReglas::rechazos_data() {
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QStringList>("mensajes");

    // --- amounts as the euro edit reads them
    QTest::newRow("a decimal point is never guessed")
        << "Pagador;Importe 1\nAna;12.50\n"
        << QStringList{"Fila 2, Importe 1: \"12.50\" no es un importe"};
    QTest::newRow("text in an amount") << "Pagador;importe\nAna;doce\n"
                                       << QStringList{"Fila 2, importe: \"doce\" no es un importe"};
    // --- amounts to the cent, so that the lines printed add up to the total printed
    const QString redondee =
        QStringLiteral("tiene más de dos decimales: redondee a céntimos en la hoja de cálculo");
    QTest::newRow("650/3 as a spreadsheet saves it unformatted")
        << "Importe 1;Importe 2\n216,666666666667 €;\n"
        << QStringList{"Fila 2, Importe 1: \"216,666666666667 €\" " + redondee};
    QTest::newRow("a stated total that rounds to Talvero's")
        << "Importe 1;Importe 2;% IVA;% IRPF;Total\n10;;0;0;10,004\n"
        << QStringList{"Fila 2, Total: \"10,004\" " + redondee};
    // --- lengths of the form, never cut
    QTest::newRow("payer one character too long")
        << "Pagador;Importe 1\nAbcdefghijabcdefghijabcdefghij;1\n"
        << QStringList{"Fila 2, Pagador: \"Abcdefghijabcdefghijabcdefghij\" tiene 30 caracteres; "
                       "caben 29"};
    QTest::newRow("line break in a concept")
        << "Concepto 1;Importe 1\n\"Luz\nagua\";1\n"
        << QStringList{"Fila 2, Concepto 1: tiene un salto de línea; el recibo lleva una sola "
                       "línea aquí"};
    // --- dates (the cell's forms are the date reader's, see fechas)
    QTest::newRow("year before the form's range")
        << "Fecha;Importe 1\n01/01/1969;1\n"
        << QStringList{"Fila 2, Fecha: el año de \"01/01/1969\" no está entre 1970 y 3000"};
    // --- the lists
    QTest::newRow("IVA not in the user's list")
        << "% IVA;Importe 1\n16;1\n"
        << QStringList{"Fila 2, % IVA: \"16\" no es un porcentaje de la lista de IVA (0, 4, 10, "
                       "21)"};
    QTest::newRow("RE with three decimals")
        << "% RE;Importe 1\n0,505;1\n"
        << QStringList{"Fila 2, % RE: \"0,505\" no es un porcentaje de la lista de RE (0, 0,5, "
                       "1,4, 5,2)"};
    QTest::newRow("colour not in the list")
        << "Color;Importe 1\nROJO;1\n"
        << QStringList{"Fila 2, Color: \"ROJO\" no es un color de la lista (AZUL, GRIS, MARRÓN, "
                       "VERDE)"};
    QTest::newRow("fill not in the list")
        << "Relleno;Importe 1\nrayas;1\n"
        << QStringList{"Fila 2, Relleno: \"rayas\" no es un relleno de la lista (LINEAS, SOLIDO)"};
    // --- computed columns
    QTest::newRow("total that is not Talvero's")
        << "Importe 1;Importe 2;% IVA;% IRPF;Total\n100;;21;0;120,00\n"
        << QStringList{"Fila 2, Total: dice 120,00 € y Talvero calcula 121,00 €"};
    QTest::newRow("IVA one cent off")
        << "Importe 1;Importe 2;% IVA;IVA\n10,05;;21;2,12\n"
        << QStringList{"Fila 2, IVA: dice 2,12 € y Talvero calcula 2,11 €"};
    QTest::newRow("amounts beyond a receipt")
        << "Importe 1;Importe 2\n900.000.000.000.000;900.000.000.000.000\n"
        << QStringList{"Fila 2: los importes suman más de lo que cabe en un recibo"};
    // --- the file's shape
    QTest::newRow("row longer than the header")
        << "Pagador;Importe 1\nAna;1;sobra\n"
        << QStringList{"Fila 2: tiene 3 campos y la cabecera solo 2; «sobra» no tiene columna"};
    // --- a long cell quoted by its first 60 characters
    const QString largo = QString(60, u'x');
    QTest::newRow("a long amount quoted short")
        << "Pagador;Importe 1\nAna;" + largo + "x\n"
        << QStringList{"Fila 2, Importe 1: \"" + largo + "…\" no es un importe"};
    QTest::newRow("column named twice refuses the file")
        << "Importe 1;importe\n1;2\n"
        << QStringList{"la columna «Importe 1» está dos veces (columnas 1 y 2)"};
    QTest::newRow("unknown column warned once, row numbers through empty rows")
        << "Pagador;Notas;Importe 1\nAna;x;1\n\nLuis;y;1.5\n"
        << QStringList{"La columna «Notas» (columna 2) no es de Talvero: se ignora",
                       "Fila 4, Importe 1: \"1.5\" no es un importe"};
    const QString nombradas = "«" + largo +
                              "…» (columna 2), «3» (columna 3), «4» (columna 4), «5» (columna 5), "
                              "«6» (columna 6), «7» (columna 7), «8» (columna 8), «9» (columna 9), "
                              "«10» (columna 10), «11» (columna 11) y 2 más";
    QTest::newRow("ten unknown columns named, a long title cut, the rest counted")
        << "Importe 1;" + largo + "N;3;4;5;6;7;8;9;10;11;12;13\n1.5\n"
        << QStringList{"Las columnas " + nombradas + " no son de Talvero: se ignoran",
                       "Fila 2, Importe 1: \"1.5\" no es un importe"};
    QTest::newRow("no column of ours")
        << "Nombre;Cantidad\nAna;1\n"
        << QStringList{"la primera fila no nombra ninguna columna de Talvero («Pagador», "
                       "«Concepto 1», «Importe 1»…)"};
}

void TestListaReglas::rechazos() {
    QFETCH(QString, csv);
    QFETCH(QStringList, mensajes);
    const lista::ListaRevisada l = Revisar(csv);
    QCOMPARE(Mensajes(l), mensajes);
    QVERIFY(!l.Emitible());
}

// Cells with what no spreadsheet writes, from the bytes of the file.
void TestListaReglas::caracteres_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("mensajes");

    // --- a byte that is not UTF-8 in a UTF-8 file
    QTest::newRow("a stray byte in an address, the other rows read as UTF-8")
        << QByteArray("Pagador;Dirección\nAna Peña Gil;C/ Mayor 3\nLuis;Calle Jos\xE9 3\n")
        << QStringList{
               "Fila 3, Dirección: tiene un carácter que no es UTF-8 («Calle Jos\uFFFD 3»); "
               "corríjalo en la hoja de cálculo y guarde la lista como CSV UTF-8"};
    // --- control characters
    QTest::newRow("a null in a concept")
        << QByteArray("Concepto 1;Importe 1\nCuota") + '\0' + ";1\n"
        << QStringList{"Fila 2, Concepto 1: tiene un carácter de control (U+0000) que ninguna "
                       "hoja de cálculo escribe; bórrelo"};
}

void TestListaReglas::caracteres() {
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, mensajes);
    const lista::ListaRevisada l = Revisar(csv);
    QCOMPARE(Mensajes(l), mensajes);
    QVERIFY(!l.Emitible());
}

// The one reader of a list's date cells, "Fecha" and "Fecha del mandato" alike.
void TestListaReglas::fechas_data() {
    QTest::addColumn<QString>("celda");
    QTest::addColumn<bool>("aniosDelRecibo"); // the form's years, 1970 to 3000
    QTest::addColumn<QString>("leida");       // yyyy-mm-dd, or what is wrong with the cell

    const auto uso = [](const char* celda) {
        return QStringLiteral("\"%1\" no es una fecha válida: escriba dd/mm/aaaa, por ejemplo "
                              "05/03/2024")
            .arg(QLatin1String(celda));
    };
    // --- as a spreadsheet saves them
    QTest::newRow("dd/mm/yyyy") << "05/03/2024" << false << "2024-03-05";
    QTest::newRow("d/m/yy as a Spanish spreadsheet saves it, in 20yy")
        << "15/1/21" << false << "2021-01-15";
    QTest::newRow("blanks around") << " 5/3/2024 " << false << "2024-03-05";
    QTest::newRow("29 February of a leap year") << "29/02/2024" << false << "2024-02-29";
    // --- refused, never guessed
    QTest::newRow("day the month lacks") << "31/02/2024" << false << uso("31/02/2024");
    QTest::newRow("29 February of a common year") << "29/2/23" << false << uso("29/2/23");
    QTest::newRow("month 13") << "05/13/2024" << false << uso("05/13/2024");
    QTest::newRow("day 0") << "0/3/2024" << false << uso("0/3/2024");
    QTest::newRow("ISO date is not a spreadsheet's") << "2024-03-05" << false << uso("2024-03-05");
    QTest::newRow("three-digit year") << "5/3/124" << false << uso("5/3/124");
    QTest::newRow("dots instead of slashes") << "5.3.2024" << false << uso("5.3.2024");
    // --- the years a column admits
    QTest::newRow("year after the form's range")
        << "01/01/3001" << true << "el año de \"01/01/3001\" no está entre 1970 y 3000";
    QTest::newRow("the same year where any is admitted") << "01/01/3001" << false << "3001-01-01";
    QTest::newRow("two-digit year within the form's range") << "5/3/24" << true << "2024-03-05";
}

void TestListaReglas::fechas() {
    QFETCH(QString, celda);
    QFETCH(bool, aniosDelRecibo);
    QFETCH(QString, leida);
    std::chrono::year_month_day fecha;
    const QString error = aniosDelRecibo ? lista::LeerFecha(celda, fecha, 1970, 3000)
                                         : lista::LeerFecha(celda, fecha);
    QCOMPARE(error.isEmpty() ? QDate(int(fecha.year()), int(unsigned(fecha.month())),
                                     int(unsigned(fecha.day())))
                                   .toString(Qt::ISODate)
                             : error,
             leida);
}

void TestListaReglas::lecturas_data() {
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QString>(
        "recibo"); // número|fecha|pagador|importe 1|concepto 1|IVA/RE/IRPF|total|color|sólido

    // The template is the form's receipt: 17, 05/03/2004, "Importe 2" 34,56, IVA 16, IRPF 15.
    // 100 + 34,56 = 134,56; + 21,53 IVA - 20,18 IRPF = 135,91.
    QTest::newRow("missing columns keep the form's values; payer capitalised like the form")
        << "Pagador;Importe 1\nana;100\n"
        << "17|2004-03-05|Ana|100,00|Reparación de la caldera|16//15|135,91|16777160|0";
    QTest::newRow("empty cells of present columns are empty")
        << "Pagador;Concepto 1;Importe 1;% IVA;% IRPF;Importe 2\nAna;;;;;\n"
        << "17|2004-03-05|Ana|0,00||0//0|0,00|16777160|0";
    QTest::newRow("date as a Spanish spreadsheet saves it, two-digit year in 20yy")
        << "Fecha;Importe 1;Importe 2\n5/3/24;1.234,56 €;0\n"
        << "17|2024-03-05|COMUNIDAD DE PROPIETARIOS|1.234,56|Reparación de la caldera|16//15|"
           "1.246,91|16777160|0";
    QTest::newRow("euro sign in front, percentages with their sign, lists' own texts")
        << "Importe 1;Importe 2;% IVA;% RE;% IRPF\n€ 100;;21 %;5,20;0\n"
        << "17|2004-03-05|COMUNIDAD DE PROPIETARIOS|100,00|Reparación de la caldera|21/5,2/0|"
           "126,20|16777160|0";
    // -50 + 34,56 = -15,44; - 2,47 IVA + 2,32 IRPF = -15,59.
    QTest::newRow("colour and fill without accents or case; the export's apostrophe taken off")
        << "Concepto 1;Importe 1;Color;Relleno\n'-Fianza;-50;marron;Sólido\n"
        << "17|2004-03-05|COMUNIDAD DE PROPIETARIOS|-50,00|-Fianza|16//15|-15,59|10022136|1";
    QTest::newRow("zeros past the cent are the cent")
        << "Pagador;Importe 1;Importe 2;% IVA;% IRPF\nAna;12,500;;0;0\n"
        << "17|2004-03-05|Ana|12,50|Reparación de la caldera|0//0|12,50|16777160|0";
    // 10 + 34,56 = 44,56; + 7,13 IVA - 6,68 IRPF = 45,01.
    QTest::newRow("colour as older exports wrote it, plain column names")
        << "pagador1,concepto,importe,color\nLuis,Cuota,10,B3F4BB\n"
        << "17|2004-03-05|Luis|10,00|Cuota|16//15|45,01|11793595|0";
}

void TestListaReglas::lecturas() {
    QFETCH(QString, csv);
    QFETCH(QString, recibo);
    const lista::ListaRevisada l = Revisar(csv);
    QCOMPARE(Mensajes(l), QStringList());
    QCOMPARE(l.filas.size(), std::size_t(1));
    QCOMPARE(Describir(l.filas.front().recibo), recibo);
}

void TestListaReglas::numeracion_data() {
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QStringList>("enUso");
    QTest::addColumn<QString>("siguiente");
    QTest::addColumn<QStringList>("numeros");
    QTest::addColumn<QStringList>("mensajes");

    QTest::newRow("empty register: from the form's number")
        << "Pagador\nA\nB\n"
        << QStringList{} << "" << QStringList{"17", "18"} << QStringList{};
    QTest::newRow("the register's next number keeps its width")
        << "Número;Pagador\n;A\n;B\n"
        << QStringList{"000121"} << "000122" << QStringList{"000122", "000123"} << QStringList{};
    QTest::newRow("numbers the list gives are skipped")
        << "Número;Pagador\n;A\n000123;B\n;C\n"
        << QStringList{"000121"} << "000122" << QStringList{"000122", "000123", "000124"}
        << QStringList{};
    QTest::newRow("repeated in the list: an error of the later row")
        << "Número;Pagador\n5;A\n6;B\n5;C\n"
        << QStringList{} << "" << QStringList{"5", "6", "5"}
        << QStringList{"Fila 4, Número: «5» ya está en la fila 2"};
    QTest::newRow("already in the register: a warning")
        << "Número;Pagador\n5;A\n"
        << QStringList{"5"} << "6" << QStringList{"5"}
        << QStringList{"Fila 2, Número: «5» ya está en el registro de recibos emitidos"};
    QTest::newRow("past six digits")
        << "Pagador\nA\nB\n"
        << QStringList{"999998"} << "999999" << QStringList{"999999", ""}
        << QStringList{"Fila 3, Número: el siguiente número, 1000000, tiene más de 6 cifras"};
    QTest::newRow("numbers in use that are not digits")
        << "Pagador\nA\n"
        << QStringList{"A-1"} << "" << QStringList{}
        << QStringList{"hay filas sin número y el registro usa números que no son solo cifras, "
                       "así que Talvero no puede darles uno: añada una columna «Número» con el "
                       "de cada recibo"};
}

void TestListaReglas::numeracion() {
    QFETCH(QString, csv);
    QFETCH(QStringList, enUso);
    QFETCH(QString, siguiente);
    QFETCH(QStringList, numeros);
    QFETCH(QStringList, mensajes);
    const lista::ListaRevisada l =
        Revisar(csv, NumerosDelRegistro{QSet<QString>(enUso.begin(), enUso.end()), siguiente});
    QStringList dados;
    for (const auto& f : l.filas)
        dados << QString::fromStdString(f.recibo.m_Numero);
    QCOMPARE(dados, numeros);
    QCOMPARE(Mensajes(l), mensajes);
}

// A quarter exported from "Recibos emitidos", opened and saved by a spreadsheet (leading
// zeros gone, short dates, a colour in small letters, the older hexadecimal colour).
void TestListaReglas::exportadoDelRegistro() {
    const lista::ListaRevisada l = lista::RevisarLista(
        lista::LeerArchivoCsv(QStringLiteral(TALVERO_LISTA_DATOS "/exportado.csv")),
        sample::Filled(), Tipos(), {});
    QCOMPARE(Mensajes(l), QStringList());
    QVERIFY(l.Emitible());
    QStringList filas;
    for (const auto& f : l.filas)
        filas << QString::number(f.fila) + u':' + Describir(f.recibo);
    QCOMPARE(filas, (QStringList{
                        "2:122|2024-03-05|Ana Pérez|650,00|Alquiler marzo|0/0/15|510,00|13158600|1",
                        "3:123|2024-03-05|Luis Gómez|700,00|Alquiler marzo|4/0/0|728,00|16777160|0",
                        "4:124|2024-03-05|Eva Sanz|500,00|Alquiler marzo|4/0/0|520,00|10022136|0",
                    }));
    QCOMPARE(l.filas.front().recibo.m_Concepto2, std::string("-Fianza"));
    QCOMPARE(l.Resumen(), QStringLiteral("3 recibos, total 1.758,00 €"));
}

// A concept as the register holds it, exported and read back as a list: the apostrophe the
// export puts in front of what a spreadsheet would take for a formula goes, any other stays.
void TestListaReglas::textosExportados_data() {
    QTest::addColumn<QString>("concepto");

    // --- texts the export guards
    QTest::newRow("a blank before a dash") << " - Plaza de garaje";
    QTest::newRow("a no-break space before a plus") << "\u00A0+34 600 000 000";
    QTest::newRow("a tab first") << "\tPlaza de garaje";
    // --- texts it leaves alone keep their own apostrophe
    QTest::newRow("an apostrophe of the text") << "'98 Liga";
    QTest::newRow("an apostrophe and a blank before a letter") << "' Plaza";
}

void TestListaReglas::textosExportados() {
    QFETCH(QString, concepto);
    const lista::ListaRevisada l =
        Revisar("Concepto 1;Importe 1\r\n" + registro::CampoCsv(concepto) + ";1,00\r\n");
    QCOMPARE(Mensajes(l), QStringList());
    QCOMPARE(QString::fromStdString(l.filas.front().recibo.m_Concepto1), concepto);
}

QTEST_GUILESS_MAIN(TestListaReglas)
#include "test_lista_reglas.moc"
