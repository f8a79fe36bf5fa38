// The tax agency's answers, written by hand after its schema (each checked against it with
// xmllint), read alone and inside their SOAP envelope; a SOAP fault; and what cannot be read.
#include "DatosPrueba.h"
#include "verifactu/Respuesta.h"

#include <QtTest>

using namespace verifactu;
using Clase = LecturaRespuesta::Clase;

namespace {

QByteArray EnSobre(const QByteArray& respuesta) {
    QByteArray cuerpo = respuesta;
    cuerpo.remove(0, cuerpo.indexOf("?>") + 2);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<env:Envelope xmlns:env=\"http://schemas.xmlsoap.org/soap/envelope/\">"
           "<env:Header/><env:Body>" +
           cuerpo + "</env:Body></env:Envelope>";
}

QString Nombre(EstadoRegistro e) {
    switch (e) {
    case EstadoRegistro::Correcto:
        return QStringLiteral("Correcto");
    case EstadoRegistro::AceptadoConErrores:
        return QStringLiteral("AceptadoConErrores");
    case EstadoRegistro::Incorrecto:
        return QStringLiteral("Incorrecto");
    }
    return {};
}

QString Nombre(EstadoEnvio e) {
    switch (e) {
    case EstadoEnvio::Correcto:
        return QStringLiteral("Correcto");
    case EstadoEnvio::ParcialmenteCorrecto:
        return QStringLiteral("ParcialmenteCorrecto");
    case EstadoEnvio::Incorrecto:
        return QStringLiteral("Incorrecto");
    }
    return {};
}

// One record's answer in one line: series, date, kind, state, then code, text and the
// kept duplicate's state when there are.
QString Resumen(const LineaRespuesta& l) {
    QString r = QString::fromStdString(l.factura.numSerie + ' ' + l.factura.fecha) +
                (l.anulacion ? QStringLiteral(" anulación ") : QStringLiteral(" alta ")) +
                Nombre(l.estado);
    if (l.codigo != 0)
        r += u' ' + QString::number(l.codigo) + u' ' + QString::fromStdString(l.descripcion);
    if (!l.estadoDuplicado.empty())
        r += QStringLiteral(" ya registrado: ") + QString::fromStdString(l.estadoDuplicado);
    return r;
}

} // namespace

class TestVerifactuRespuesta : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void segunEsquema_data();
    void segunEsquema();
    void lectura_data();
    void lectura();
};

void TestVerifactuRespuesta::segunEsquema_data() {
    QTest::addColumn<QString>("archivo");
    QTest::newRow("Todo correcto") << "respuesta-correcta.xml";
    QTest::newRow("Parcialmente correcto") << "respuesta-parcial.xml";
    QTest::newRow("Todo rechazado") << "respuesta-incorrecta.xml";
}

void TestVerifactuRespuesta::segunEsquema() {
    QFETCH(QString, archivo);
    QCOMPARE(datos::Xmllint(datos::Leer(archivo), QStringLiteral("RespuestaSuministro.xsd")),
             QString());
}

void TestVerifactuRespuesta::lectura_data() {
    // clang-format off
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("clase");
    QTest::addColumn<QString>("csv");
    QTest::addColumn<int>("espera");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<QStringList>("lineas");
    QTest::addColumn<QString>("fallo"); // code | text | send the same again; or the reading's error
    const QByteArray correcta = datos::Leer(QStringLiteral("respuesta-correcta.xml"));
    const QStringList unaCorrecta{"R2026/0001 15-01-2026 alta Correcto"};
    QTest::newRow("Todo correcto") << correcta << int(Clase::Respuesta) << "A-ABCDEFGHIJKLMN" << 60 << "Correcto" << unaCorrecta << "";
    QTest::newRow("Todo correcto, en su sobre SOAP") << EnSobre(correcta) << int(Clase::Respuesta) << "A-ABCDEFGHIJKLMN" << 60 << "Correcto" << unaCorrecta << "";
    QTest::newRow("Parcialmente correcto") << datos::Leer(QStringLiteral("respuesta-parcial.xml"))
        << int(Clase::Respuesta) << "A-PARCIAL0000001" << 120 << "ParcialmenteCorrecto"
        << QStringList{"R2026/0002 16-01-2026 alta Correcto",
                       "R2026/0003 16-01-2026 alta AceptadoConErrores 2000 Huella incorrecta",
                       "R2026/0001 15-01-2026 alta Incorrecto 3000 Registro duplicado ya registrado: Correcta",
                       "R2026/0002 16-01-2026 anulación Correcto"} << "";
    QTest::newRow("Todo rechazado, sin CSV") << EnSobre(datos::Leer(QStringLiteral("respuesta-incorrecta.xml")))
        << int(Clase::Respuesta) << "" << 60 << "Incorrecto"
        << QStringList{"R2026/0004 16-01-2026 alta Incorrecto 1100 Valor o tipo incorrecto del campo: FechaExpedicionFactura"} << "";
    const QByteArray fallo = datos::Leer(QStringLiteral("fallo-soap.xml"));
    QTest::newRow("Fallo SOAP por el mensaje") << fallo << int(Clase::Fallo) << "" << 60 << "Incorrecto" << QStringList{}
        << "env:Client|Codigo[4102].El XML no cumple el esquema.|no";
    QTest::newRow("Fallo SOAP del servidor") << QByteArray(fallo).replace("env:Client", "env:Server") << int(Clase::Fallo) << "" << 60 << "Incorrecto" << QStringList{}
        << "env:Server|Codigo[4102].El XML no cumple el esquema.|sí";
    QTest::newRow("Estado de envío desconocido") << QByteArray(correcta).replace(">Correcto</tikR:EstadoEnvio", ">Bien</tikR:EstadoEnvio")
        << int(Clase::Ilegible) << "" << 60 << "Incorrecto" << QStringList{}
        << "La respuesta de la AEAT no se puede leer: un valor de «EstadoEnvio» que no se entiende.";
    QTest::newRow("Respuesta cortada") << correcta.left(correcta.size() / 2) << int(Clase::Ilegible) << "" << 60 << "Incorrecto" << QStringList{}
        << "La respuesta de la AEAT no se puede leer: el XML está incompleto o mal formado.";
    QTest::newRow("Un envío en lugar de su respuesta") << datos::Leer(QStringLiteral("alta-esperada.xml"))
        << int(Clase::Ilegible) << "" << 60 << "Incorrecto" << QStringList{}
        << "La respuesta de la AEAT no se puede leer: no es una respuesta a un envío de registros.";
    // clang-format on
}

void TestVerifactuRespuesta::lectura() {
    QFETCH(QByteArray, xml);
    QFETCH(int, clase);
    QFETCH(QString, csv);
    QFETCH(int, espera);
    QFETCH(QString, estado);
    QFETCH(QStringList, lineas);
    QFETCH(QString, fallo);
    QVERIFY(!xml.isEmpty());
    const LecturaRespuesta l = LeerRespuesta(xml);
    QCOMPARE(int(l.clase), clase);
    const Respuesta& r = l.respuesta;
    QCOMPARE(QString::fromStdString(r.csv), csv);
    QCOMPARE(r.esperaSegundos, espera);
    QCOMPARE(Nombre(r.estado), estado);
    QStringList hechas;
    for (const LineaRespuesta& linea : r.lineas)
        hechas << Resumen(linea);
    QCOMPARE(hechas, lineas);
    if (l.clase == Clase::Fallo)
        QCOMPARE(QString::fromStdString(l.fallo.codigo + '|' + l.fallo.texto + '|') +
                     (l.fallo.reenviarIgual ? QStringLiteral("sí") : QStringLiteral("no")),
                 fallo);
    else
        QCOMPARE(QString::fromStdString(l.error), fallo);
}

QTEST_GUILESS_MAIN(TestVerifactuRespuesta)
#include "test_verifactu_respuesta.moc"
