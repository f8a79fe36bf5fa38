// The settings key "Registro" taken apart for the server: what reaches libpq, the waits that
// are never longer than ten seconds, parameters that could break the driver's option list, and
// a password that is used but never shown.
#include "register/UriPostgres.h"

#include <QTest>

using registro::ConexionPostgres;
using registro::LeerUriPostgres;

class TestUriPostgres : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lectura_data();
    void lectura();
    void claveDeSesion();
};

void TestUriPostgres::lectura_data() {
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("servidor");
    QTest::addColumn<int>("puerto");
    QTest::addColumn<QString>("usuario");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("opciones");
    QTest::addColumn<bool>("valida");

    QTest::newRow("por defecto, esperas de diez segundos")
        << "postgresql://ana@servidor.oficina:5432/talvero?sslmode=prefer"
        << "servidor.oficina" << 5432 << "ana"
        << ""
        << "sslmode='prefer';connect_timeout=10;tcp_user_timeout=10000" << true;
    QTest::newRow("espera pedida más corta")
        << "postgres://ana@h/talvero?connect_timeout=3&tcp_user_timeout=2000"
        << "h" << -1 << "ana"
        << ""
        << "connect_timeout='3';tcp_user_timeout='2000'" << true;
    QTest::newRow("espera pedida más larga, recortada")
        << "postgresql://ana@h/talvero?connect_timeout=600"
        << "h" << -1 << "ana"
        << ""
        << "connect_timeout='10';tcp_user_timeout=10000" << true;
    QTest::newRow("espera que no es un número")
        << "postgresql://ana@h/talvero?connect_timeout=nunca"
        << "h" << -1 << "ana"
        << ""
        << "connect_timeout='10';tcp_user_timeout=10000" << true;
    QTest::newRow("clave y comillas escapadas")
        << "postgresql://ana:s%40c%3Aret@h:6000/talvero?application_name=o'b%5C"
        << "h" << 6000 << "ana"
        << "s@c:ret"
        << "application_name='o\\'b\\\\';connect_timeout=10;tcp_user_timeout=10000" << true;
    QTest::newRow("punto y coma en un valor") << "postgresql://ana@h/talvero?options=a%3Bb"
                                              << "" << -1 << ""
                                              << ""
                                              << "" << false;
    QTest::newRow("parámetro con otro carácter") << "postgresql://ana@h/talvero?a-b=1"
                                                 << "" << -1 << ""
                                                 << ""
                                                 << "" << false;
    QTest::newRow("otro esquema") << "mysql://ana@h/talvero"
                                  << "" << -1 << ""
                                  << ""
                                  << "" << false;
}

void TestUriPostgres::lectura() {
    QFETCH(QString, uri);
    QFETCH(bool, valida);
    const ConexionPostgres c = LeerUriPostgres(uri);
    QCOMPARE(c.error.isEmpty(), valida);
    if (!valida) {
        // Said in Spanish, and without the password of the URI.
        QVERIFY(c.error.contains(QStringLiteral("dirección")));
        return;
    }
    QTEST(c.servidor, "servidor");
    QTEST(c.puerto, "puerto");
    QTEST(c.usuario, "usuario");
    QTEST(c.clave, "clave");
    QTEST(c.opciones, "opciones");
    QCOMPARE(c.base, QStringLiteral("talvero"));
    QVERIFY(!registro::UriSinClave(uri).contains(QStringLiteral("ret")));
}

void TestUriPostgres::claveDeSesion() {
    const QString uri = QStringLiteral("postgresql://luis@h:5432/talvero");
    QCOMPARE(LeerUriPostgres(uri).clave, QString());
    registro::RecordarClaveDeSesion(uri, QStringLiteral("tecleada"));
    QCOMPARE(LeerUriPostgres(uri).clave, QStringLiteral("tecleada"));
    // Only for that register, and never over a password the URI carries.
    QCOMPARE(LeerUriPostgres(QStringLiteral("postgresql://luis@h:5432/otra")).clave, QString());
    QCOMPARE(LeerUriPostgres(QStringLiteral("postgresql://luis:suya@h:5432/talvero")).clave,
             QStringLiteral("suya"));
}

QTEST_GUILESS_MAIN(TestUriPostgres)
#include "test_uri_postgres.moc"
