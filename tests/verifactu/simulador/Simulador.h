// For the tests that send: the test's own certificates, made with openssl in a temporary
// folder (no key is ever kept in the sources), and the stand-in of the agency's service
// (SimuladorAeat.cpp) started on loopback with them.
#pragma once

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QTemporaryDir>
#include <QtCore/QUrl>
#include <QtNetwork/QTcpServer>

#include "verifactu/Registro.h"

namespace simulador {

inline constexpr char kClave[] = "clave de prueba";

// An alta of 121,00 € (100,00 at IVA 21) of the test issuer, not yet chained.
inline verifactu::RegistroAlta Alta(const QString& numero) {
    verifactu::RegistroAlta r;
    r.factura = {"89890001K", numero.toStdString(), "15-01-2026"};
    r.nombreRazonEmisor = "EMPRESA DE PRUEBAS SL";
    r.tipoFactura = "F2";
    r.descripcion = "Recibo";
    verifactu::LineaDesglose l;
    l.calificacion = "S1";
    l.tipoImpositivo = "21";
    l.base = "100.00";
    l.cuota = "21.00";
    r.desglose = {l};
    r.cuotaTotal = "21.00";
    r.importeTotal = "121.00";
    r.sistema = {
        "PRODUCTOR DE PRUEBAS SL", "89890001K", "Talvero", "TV", "0.1.0", "1", false, false, false};
    r.fechaHoraHuso = "2026-01-15T10:30:00+01:00";
    return r;
}

// A test authority, the server's certificate for 127.0.0.1 and localhost signed by it, and
// two client certificates as PKCS#12 files with kClave: one of that authority and one of
// another.
class Certificados {
public:
    bool Crear() {
        if (!dir_.isValid())
            return false;
        return Autoridad(u"ca"_qs, u"Autoridad de pruebas de Talvero"_qs) &&
               Autoridad(u"otra-ca"_qs, u"Otra autoridad"_qs) &&
               Firmado(
                   u"servidor"_qs, u"ca"_qs, u"127.0.0.1"_qs,
                   u"subjectAltName=IP:127.0.0.1,DNS:localhost\nextendedKeyUsage=serverAuth"_qs) &&
               Firmado(u"cliente"_qs, u"ca"_qs, u"EMPRESA DE PRUEBAS SL"_qs,
                       u"extendedKeyUsage=clientAuth"_qs) &&
               Firmado(u"ajeno"_qs, u"otra-ca"_qs, u"EMPRESA DE PRUEBAS SL"_qs,
                       u"extendedKeyUsage=clientAuth"_qs) &&
               Pkcs12(u"cliente"_qs) && Pkcs12(u"ajeno"_qs) &&
               Pkcs12(u"cliente"_qs, u"cliente-antiguo"_qs, {u"-legacy"_qs});
    }

    QString Ruta(const QString& nombre) const { return dir_.filePath(nombre); }
    QString Ca() const { return Ruta(u"ca.pem"_qs); }
    QString Cliente() const { return Ruta(u"cliente.p12"_qs); }
    QString Ajeno() const { return Ruta(u"ajeno.p12"_qs); }
    // The same certificate with its key under RC2 and 3DES, as older exports write it.
    QString ClienteAntiguo() const { return Ruta(u"cliente-antiguo.p12"_qs); }
    const QString& Error() const { return error_; }

private:
    bool Openssl(const QStringList& argumentos) {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(u"openssl"_qs, argumentos);
        if (!p.waitForFinished(30'000) || p.exitCode() != 0) {
            error_ = u"openssl "_qs + argumentos.join(u' ') + u": "_qs +
                     QString::fromUtf8(p.readAllStandardError());
            return false;
        }
        return true;
    }
    // Elliptic-curve keys: made in an instant.
    static QStringList Clave() {
        return {u"-newkey"_qs, u"ec"_qs, u"-pkeyopt"_qs, u"ec_paramgen_curve:P-256"_qs,
                u"-nodes"_qs};
    }
    bool Autoridad(const QString& n, const QString& cn) {
        return Openssl(QStringList{u"req"_qs, u"-x509"_qs} + Clave() +
                       QStringList{u"-keyout"_qs, n + u".key"_qs, u"-out"_qs, n + u".pem"_qs,
                                   u"-days"_qs, u"2"_qs, u"-subj"_qs, u"/CN="_qs + cn});
    }
    bool Firmado(const QString& n, const QString& ca, const QString& cn, const QString& ext) {
        QFile f(Ruta(n + u".ext"_qs));
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(ext.toUtf8() + '\n');
        f.close();
        return Openssl(QStringList{u"req"_qs} + Clave() +
                       QStringList{u"-keyout"_qs, n + u".key"_qs, u"-out"_qs, n + u".csr"_qs,
                                   u"-subj"_qs, u"/CN="_qs + cn}) &&
               Openssl({u"x509"_qs, u"-req"_qs, u"-in"_qs, n + u".csr"_qs, u"-CA"_qs,
                        ca + u".pem"_qs, u"-CAkey"_qs, ca + u".key"_qs, u"-CAcreateserial"_qs,
                        u"-out"_qs, n + u".pem"_qs, u"-days"_qs, u"2"_qs, u"-extfile"_qs,
                        n + u".ext"_qs});
    }
    bool Pkcs12(const QString& n, QString archivo = {}, const QStringList& mas = {}) {
        if (archivo.isEmpty())
            archivo = n;
        return Openssl(QStringList{u"pkcs12"_qs, u"-export"_qs, u"-in"_qs, n + u".pem"_qs,
                                   u"-inkey"_qs, n + u".key"_qs, u"-out"_qs, archivo + u".p12"_qs,
                                   u"-passout"_qs, u"pass:"_qs + QString::fromUtf8(kClave)} +
                       mas);
    }

    QTemporaryDir dir_;
    QString error_;
};

// A port on loopback where nothing listens.
inline int PuertoLibre() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

// The stand-in, running until this goes out of scope.
class Servicio {
public:
    Servicio(const Certificados& c, QString diario) : c_(c), diario_(std::move(diario)) {}
    ~Servicio() { Parar(); }

    // Starts it with `guion` (see SimuladorAeat.cpp); false, with Error(), when it does not.
    bool Arrancar(const QStringList& guion, int esperaSegundos = 60, int retrasoMs = 0) {
        p_.start(QStringLiteral(TALVERO_SIMULADOR_AEAT),
                 {u"--certificado"_qs, c_.Ruta(u"servidor.pem"_qs), u"--clave"_qs,
                  c_.Ruta(u"servidor.key"_qs), u"--ca"_qs, c_.Ca(), u"--esquemas"_qs,
                  QStringLiteral(TALVERO_VERIFACTU_DATOS), u"--guion"_qs, guion.join(u','),
                  u"--espera"_qs, QString::number(esperaSegundos), u"--retraso"_qs,
                  QString::number(retrasoMs), u"--diario"_qs, diario_});
        if (!p_.waitForStarted() || !p_.waitForReadyRead(10'000)) {
            error_ = QString::fromUtf8(p_.readAllStandardError());
            return false;
        }
        const QByteArray linea = p_.readLine().trimmed();
        puerto_ = linea.startsWith("PUERTO ") ? linea.mid(7).toInt() : 0;
        error_ = QString::fromUtf8(linea);
        return puerto_ > 0;
    }
    void Parar() {
        if (p_.state() != QProcess::NotRunning) {
            p_.kill();
            p_.waitForFinished();
        }
    }

    QString Url() const {
        return QStringLiteral("https://127.0.0.1:%1/wlpl/TIKE-CONT/ws/SistemaFacturacion/"
                              "VerifactuSOAP")
            .arg(puerto_);
    }
    const QString& Error() const { return error_; }

    // The stand-in's log, one line each.
    QStringList Diario() const {
        QFile f(diario_);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // The lines of its log that start with `prefijo` (after any indent).
    QStringList Lineas(const QString& prefijo) const {
        QStringList r;
        for (const QString& l : Diario())
            if (l.trimmed().startsWith(prefijo))
                r.append(l.trimmed());
        return r;
    }

private:
    const Certificados& c_;
    QString diario_;
    QProcess p_;
    int puerto_ = 0;
    QString error_;
};

} // namespace simulador
