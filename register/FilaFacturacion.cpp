#include "register/FilaFacturacion.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace registro {

namespace {

// The fields of a record, in the order of the insert.
const char* const kColumnas[] = {
    "recibo",
    "tipo",
    "emisor",
    "numero",
    "fecha",
    "nombre_emisor",
    "subsanacion",
    "rechazo_previo",
    "sin_registro_previo",
    "tipo_factura",
    "descripcion_operacion",
    "destinatario_nombre",
    "destinatario_nif",
    "clave_regimen",
    "calificacion",
    "exencion",
    "tipo_impositivo",
    "base",
    "cuota",
    "tipo_recargo",
    "cuota_recargo",
    "cuota_total",
    "importe_total",
    "anterior_emisor",
    "anterior_numero",
    "anterior_fecha",
    "anterior_huella",
    "sistema_nombre_razon",
    "sistema_nif",
    "sistema_nombre",
    "sistema_id",
    "sistema_version",
    "sistema_instalacion",
    "sistema_solo_verifactu",
    "sistema_multiples_ot",
    "sistema_varios_ot",
    "fecha_hora_huso",
    "huella",
    "control", // last: ControlDeFila covers every column before it
};

QString QDeTexto(const std::string& s) {
    return QString::fromStdString(s);
}

std::string CampoDe(const QSqlRecord& fila, const char* columna) {
    return fila.value(QLatin1String(columna)).toString().toStdString();
}

bool MarcaDe(const QSqlRecord& fila, const char* columna) {
    return fila.value(QLatin1String(columna)).toInt() != 0;
}

const QVariant kTextoNulo{QMetaType(QMetaType::QString)};

// The columns that hold one member each: binding and reading walk the same table, so that a
// column written is a column read back.
template <class T, class M> struct Columna {
    const char* nombre;
    M T::*miembro;
};
using verifactu::LineaDesglose;
using verifactu::SistemaInformatico;
const Columna<SistemaInformatico, std::string> kSistemaTextos[] = {
    {"sistema_nombre_razon", &SistemaInformatico::nombreRazon},
    {"sistema_nif", &SistemaInformatico::nif},
    {"sistema_nombre", &SistemaInformatico::nombreSistema},
    {"sistema_id", &SistemaInformatico::idSistema},
    {"sistema_version", &SistemaInformatico::version},
    {"sistema_instalacion", &SistemaInformatico::numeroInstalacion},
};
const Columna<SistemaInformatico, bool> kSistemaMarcas[] = {
    {"sistema_solo_verifactu", &SistemaInformatico::soloVerifactu},
    {"sistema_multiples_ot", &SistemaInformatico::multiplesObligados},
    {"sistema_varios_ot", &SistemaInformatico::hayVariosObligados},
};
const Columna<LineaDesglose, std::string> kDesglose[] = {
    {"clave_regimen", &LineaDesglose::claveRegimen},
    {"calificacion", &LineaDesglose::calificacion},
    {"exencion", &LineaDesglose::exencion},
    {"tipo_impositivo", &LineaDesglose::tipoImpositivo},
    {"base", &LineaDesglose::base},
    {"cuota", &LineaDesglose::cuota},
    {"tipo_recargo", &LineaDesglose::tipoRecargo},
    {"cuota_recargo", &LineaDesglose::cuotaRecargo},
};

class Enlazador {
public:
    explicit Enlazador(QSqlQuery& q) : q_(q) {}
    void operator()(const char* columna, const QVariant& valor) {
        q_.bindValue(QLatin1Char(':') + QLatin1String(columna), valor);
    }
    void Texto(const char* columna, const std::string& valor) { (*this)(columna, QDeTexto(valor)); }
    void SiNo(const char* columna, bool valor) { (*this)(columna, valor ? 1 : 0); }

private:
    QSqlQuery& q_;
};

void EnlazarComun(Enlazador& e, const verifactu::IdFactura& f,
                  const std::optional<verifactu::RegistroAnterior>& anterior,
                  const verifactu::SistemaInformatico& s, const std::string& fechaHora,
                  const std::string& huella) {
    e.Texto("emisor", f.emisor);
    e.Texto("numero", f.numSerie);
    e.Texto("fecha", f.fecha);
    e("anterior_emisor", anterior ? QVariant(QDeTexto(anterior->factura.emisor)) : kTextoNulo);
    e("anterior_numero", anterior ? QVariant(QDeTexto(anterior->factura.numSerie)) : kTextoNulo);
    e("anterior_fecha", anterior ? QVariant(QDeTexto(anterior->factura.fecha)) : kTextoNulo);
    e("anterior_huella", anterior ? QVariant(QDeTexto(anterior->huella)) : kTextoNulo);
    for (const auto& c : kSistemaTextos)
        e.Texto(c.nombre, s.*c.miembro);
    for (const auto& c : kSistemaMarcas)
        e.SiNo(c.nombre, s.*c.miembro);
    e.Texto("fecha_hora_huso", fechaHora);
    e.Texto("huella", huella);
}

} // namespace

QString ControlDeFila(const std::function<QVariant(const QString&)>& valor) {
    // Each field length-prefixed, so that no two rows give the same text to hash.
    QByteArray texto;
    for (const char* c : kColumnas) {
        const QLatin1String columna(c);
        if (columna == QLatin1String("control"))
            break;
        const QVariant v = valor(columna);
        if (v.isNull()) {
            texto += '-';
            continue;
        }
        const QByteArray utf8 = v.toString().toUtf8();
        texto += QByteArray::number(utf8.size()) + ':' + utf8;
    }
    return QString::fromLatin1(QCryptographicHash::hash(texto, QCryptographicHash::Sha256).toHex());
}

namespace {

// The same two triggers for PostgreSQL: each a function that raises the same message.
QStringList DisparadoresPostgres(const QString& inalterables) {
    return {
        QStringLiteral("CREATE OR REPLACE FUNCTION registros_facturacion_inalterables() RETURNS "
                       "trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'un registro de "
                       "facturación no se modifica: solo su estado de envío'; END $$"),
        QStringLiteral("DROP TRIGGER IF EXISTS registros_facturacion_inalterables ON "
                       "registros_facturacion"),
        QStringLiteral("CREATE TRIGGER registros_facturacion_inalterables BEFORE UPDATE OF %1 ON "
                       "registros_facturacion FOR EACH ROW EXECUTE FUNCTION "
                       "registros_facturacion_inalterables()")
            .arg(inalterables),
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION registros_facturacion_sin_borrado() RETURNS trigger "
            "LANGUAGE plpgsql AS $$ BEGIN IF NOT (OLD.estado = 'pendiente' AND OLD.enviado IS "
            "NULL AND OLD.incidencia = 0 AND EXISTS (SELECT 1 FROM recibos r JOIN lotes l ON "
            "l.id = r.lote WHERE r.id = OLD.recibo AND l.pendiente IS NOT NULL)) THEN RAISE "
            "EXCEPTION 'un registro de facturación no se borra'; END IF; RETURN OLD; END $$"),
        QStringLiteral("DROP TRIGGER IF EXISTS registros_facturacion_sin_borrado ON "
                       "registros_facturacion"),
        QStringLiteral("CREATE TRIGGER registros_facturacion_sin_borrado BEFORE DELETE ON "
                       "registros_facturacion FOR EACH ROW EXECUTE FUNCTION "
                       "registros_facturacion_sin_borrado()"),
    };
}

} // namespace

QStringList EsquemaFacturacion(bool postgres) {
    QStringList inalterables;
    for (const char* c : kColumnas)
        inalterables << QLatin1String(c);
    inalterables << QStringLiteral("id");
    QStringList esquema = {
        QStringLiteral(R"(CREATE TABLE IF NOT EXISTS registros_facturacion (
    id INTEGER PRIMARY KEY,
    recibo INTEGER REFERENCES recibos (id),
    tipo TEXT NOT NULL CHECK (tipo IN ('alta', 'anulacion')),
    emisor TEXT NOT NULL, numero TEXT NOT NULL, fecha TEXT NOT NULL,
    nombre_emisor TEXT NOT NULL,
    subsanacion INTEGER NOT NULL, rechazo_previo TEXT NOT NULL,
    sin_registro_previo INTEGER NOT NULL,
    tipo_factura TEXT NOT NULL, descripcion_operacion TEXT NOT NULL,
    destinatario_nombre TEXT, destinatario_nif TEXT,
    clave_regimen TEXT NOT NULL, calificacion TEXT NOT NULL, exencion TEXT NOT NULL,
    tipo_impositivo TEXT NOT NULL, base TEXT NOT NULL, cuota TEXT NOT NULL,
    tipo_recargo TEXT NOT NULL, cuota_recargo TEXT NOT NULL,
    cuota_total TEXT NOT NULL, importe_total TEXT NOT NULL,
    anterior_emisor TEXT, anterior_numero TEXT, anterior_fecha TEXT, anterior_huella TEXT,
    sistema_nombre_razon TEXT NOT NULL, sistema_nif TEXT NOT NULL, sistema_nombre TEXT NOT NULL,
    sistema_id TEXT NOT NULL, sistema_version TEXT NOT NULL, sistema_instalacion TEXT NOT NULL,
    sistema_solo_verifactu INTEGER NOT NULL, sistema_multiples_ot INTEGER NOT NULL,
    sistema_varios_ot INTEGER NOT NULL,
    fecha_hora_huso TEXT NOT NULL,
    huella TEXT NOT NULL,
    control TEXT NOT NULL,
    estado TEXT NOT NULL DEFAULT 'pendiente'
        CHECK (estado IN ('pendiente', 'aceptado', 'aceptado_con_errores', 'rechazado')),
    codigo INTEGER NOT NULL DEFAULT 0,
    descripcion TEXT NOT NULL DEFAULT '',
    csv TEXT NOT NULL DEFAULT '',
    incidencia INTEGER NOT NULL DEFAULT 0,
    avisado INTEGER NOT NULL DEFAULT 0,
    enviado TEXT
))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS registros_facturacion_emisor ON "
                       "registros_facturacion (emisor, id)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS registros_facturacion_recibo ON "
                       "registros_facturacion (recibo)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS registros_facturacion_estado ON "
                       "registros_facturacion (estado)"),
        // An alta por rechazo reuses the number of the refused one; nothing else does.
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS registros_facturacion_alta ON "
                       "registros_facturacion (emisor, numero) WHERE tipo = 'alta' AND "
                       "estado <> 'rechazado'"),
    };
    if (postgres)
        return esquema + DisparadoresPostgres(inalterables.join(QStringLiteral(", ")));
    esquema += QStringList{
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS registros_facturacion_inalterables "
                       "BEFORE UPDATE OF %1 ON registros_facturacion BEGIN SELECT "
                       "RAISE(ABORT, 'un registro de facturación no se modifica: solo su "
                       "estado de envío'); END")
            .arg(inalterables.join(QStringLiteral(", "))),
        // The one exception: the altas of a list taken back before it left the program.
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS registros_facturacion_sin_borrado BEFORE DELETE ON "
            "registros_facturacion WHEN NOT (OLD.estado = 'pendiente' AND OLD.enviado IS NULL "
            "AND OLD.incidencia = 0 AND EXISTS (SELECT 1 FROM recibos r JOIN lotes l ON l.id = "
            "r.lote WHERE r.id = OLD.recibo AND l.pendiente IS NOT NULL)) BEGIN SELECT "
            "RAISE(ABORT, 'un registro de facturación no se borra'); END"),
    };
    return esquema;
}

const QStringList& ColumnasFacturacion() {
    static const QStringList columnas = [] {
        QStringList c;
        for (const char* columna : kColumnas)
            c << QLatin1String(columna);
        return c;
    }();
    return columnas;
}

namespace {

bool EnlazarCampos(QSqlQuery& query, const verifactu::Registro& registro, qint64 recibo) {
    Enlazador e(query);
    e("recibo", recibo != 0 ? QVariant(recibo) : QVariant(QMetaType(QMetaType::LongLong)));
    if (const auto* a = std::get_if<verifactu::RegistroAlta>(&registro)) {
        if (a->desglose.size() != 1)
            return false;
        const verifactu::LineaDesglose& l = a->desglose.front();
        e("tipo", QStringLiteral("alta"));
        e.Texto("nombre_emisor", a->nombreRazonEmisor);
        e.SiNo("subsanacion", a->subsanacion);
        e.Texto("rechazo_previo", a->rechazoPrevio);
        e.SiNo("sin_registro_previo", false);
        e.Texto("tipo_factura", a->tipoFactura);
        e.Texto("descripcion_operacion", a->descripcion);
        e("destinatario_nombre",
          a->destinatario ? QVariant(QDeTexto(a->destinatario->nombreRazon)) : kTextoNulo);
        e("destinatario_nif",
          a->destinatario ? QVariant(QDeTexto(a->destinatario->nif)) : kTextoNulo);
        for (const auto& c : kDesglose)
            e.Texto(c.nombre, l.*c.miembro);
        e.Texto("cuota_total", a->cuotaTotal);
        e.Texto("importe_total", a->importeTotal);
        EnlazarComun(e, a->factura, a->anterior, a->sistema, a->fechaHoraHuso, a->huella);
        return true;
    }
    const auto& n = std::get<verifactu::RegistroAnulacion>(registro);
    e("tipo", QStringLiteral("anulacion"));
    for (const char* vacia :
         {"nombre_emisor", "rechazo_previo", "tipo_factura", "descripcion_operacion",
          "clave_regimen", "calificacion", "exencion", "tipo_impositivo", "base", "cuota",
          "tipo_recargo", "cuota_recargo", "cuota_total", "importe_total"})
        e(vacia, QString(QLatin1String("")));
    e.SiNo("subsanacion", false);
    e.SiNo("sin_registro_previo", n.sinRegistroPrevio);
    e("destinatario_nombre", kTextoNulo);
    e("destinatario_nif", kTextoNulo);
    EnlazarComun(e, n.anulada, n.anterior, n.sistema, n.fechaHoraHuso, n.huella);
    return true;
}

} // namespace

bool EnlazarFacturacion(QSqlQuery& query, const verifactu::Registro& registro, qint64 recibo) {
    if (!EnlazarCampos(query, registro, recibo))
        return false;
    query.bindValue(QStringLiteral(":control"),
                    ControlDeFila([&](const QString& c) { return query.boundValue(u':' + c); }));
    return true;
}

RegistroFacturacion FacturacionDeFila(const QSqlRecord& f) {
    RegistroFacturacion r;
    r.id = f.value(QStringLiteral("id")).toLongLong();
    r.recibo = f.value(QStringLiteral("recibo")).toLongLong();
    const verifactu::IdFactura factura{CampoDe(f, "emisor"), CampoDe(f, "numero"),
                                       CampoDe(f, "fecha")};
    std::optional<verifactu::RegistroAnterior> anterior;
    if (!f.value(QStringLiteral("anterior_huella")).isNull())
        anterior = verifactu::RegistroAnterior{{CampoDe(f, "anterior_emisor"),
                                                CampoDe(f, "anterior_numero"),
                                                CampoDe(f, "anterior_fecha")},
                                               CampoDe(f, "anterior_huella")};
    SistemaInformatico s;
    for (const auto& c : kSistemaTextos)
        s.*c.miembro = CampoDe(f, c.nombre);
    for (const auto& c : kSistemaMarcas)
        s.*c.miembro = MarcaDe(f, c.nombre);
    // What an alta and an anulación both end with.
    const auto comun = [&](auto& registro) {
        registro.anterior = anterior;
        registro.sistema = s;
        registro.fechaHoraHuso = CampoDe(f, "fecha_hora_huso");
        registro.huella = CampoDe(f, "huella");
    };
    if (f.value(QStringLiteral("tipo")).toString() == QLatin1String("alta")) {
        verifactu::RegistroAlta a;
        a.factura = factura;
        a.nombreRazonEmisor = CampoDe(f, "nombre_emisor");
        a.subsanacion = MarcaDe(f, "subsanacion");
        a.rechazoPrevio = CampoDe(f, "rechazo_previo");
        a.tipoFactura = CampoDe(f, "tipo_factura");
        a.descripcion = CampoDe(f, "descripcion_operacion");
        if (!f.value(QStringLiteral("destinatario_nif")).isNull())
            a.destinatario = verifactu::Destinatario{CampoDe(f, "destinatario_nombre"),
                                                     CampoDe(f, "destinatario_nif")};
        LineaDesglose l;
        for (const auto& c : kDesglose)
            l.*c.miembro = CampoDe(f, c.nombre);
        a.desglose = {l};
        a.cuotaTotal = CampoDe(f, "cuota_total");
        a.importeTotal = CampoDe(f, "importe_total");
        comun(a);
        r.registro = a;
    } else {
        verifactu::RegistroAnulacion n;
        n.anulada = factura;
        n.sinRegistroPrevio = MarcaDe(f, "sin_registro_previo");
        comun(n);
        r.registro = n;
    }
    r.estado = EstadoDeTexto(f.value(QStringLiteral("estado")).toString());
    r.codigo = f.value(QStringLiteral("codigo")).toInt();
    r.descripcion = f.value(QStringLiteral("descripcion")).toString();
    r.csv = f.value(QStringLiteral("csv")).toString();
    r.incidencia = MarcaDe(f, "incidencia");
    r.avisado = MarcaDe(f, "avisado");
    r.datosIntactos = f.value(QStringLiteral("control")).toString() ==
                      ControlDeFila([&](const QString& c) { return f.value(c); });
    return r;
}

} // namespace registro
