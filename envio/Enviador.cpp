#include "envio/Enviador.h"

#include "envio/Cotejar.h"
#include "register/ConexionEnSegundoPlano.h"
#include "verifactu/EscribirEnvio.h"

#include <algorithm>

namespace envio {

namespace {

// "yyyy-mm-dd" as the Cabecera writes it, "dd-mm-yyyy".
std::string FechaFin(const std::string& hasta) {
    if (hasta.size() != 10)
        return {};
    return hasta.substr(8, 2) + '-' + hasta.substr(5, 2) + '-' + hasta.substr(0, 4);
}

} // namespace

Enviador::Enviador(registro::Registro& registro, Configuracion configuracion, QObject* parent)
    : QObject(parent), registro_(registro), c_(std::move(configuracion)) {
    qRegisterMetaType<Informe>();
    temporizador_.setSingleShot(true);
    connect(&temporizador_, &QTimer::timeout, this, [this] {
        // The windows wait for the register's server: the turn comes again after that wait.
        if (registro::EsperandoServidor())
            temporizador_.start(std::chrono::seconds(1));
        else
            Siguiente();
    });
    reloj_.start();
    Crear();
}

Enviador::~Enviador() = default;

void Enviador::Crear() {
    verifactu::DatosConexion d;
    d.servicio = QUrl(QString::fromStdString(c_.ajustes.UrlServicio()));
    d.certificado = QString::fromStdString(c_.ajustes.certificado);
    d.clave = c_.clave;
    d.ca = QString::fromStdString(c_.ajustes.ca);
    d.plazoMs = c_.plazoMs;
    conexion_ = std::make_unique<verifactu::Conexion>(d);
    connect(conexion_.get(), &verifactu::Conexion::Terminado, this, &Enviador::Terminado);
}

void Enviador::PonerClave(const QString& clave) {
    c_.clave = clave;
    recrear_ = true; // the connection on its way, if any, keeps the old one
}

bool Enviador::Enviando() const {
    return !lote_.empty();
}

void Enviador::Enviar() {
    // While waiting, the wait is worked out again: records enough for a whole batch may go.
    if (!Enviando())
        Siguiente();
}

void Enviador::Siguiente() {
    if (Enviando())
        return;
    const QString nif = QString::fromStdString(c_.ajustes.emisorNif);
    std::vector<registro::RegistroFacturacion> pendientes =
        registro_.RegistrosPorEnviar(nif, verifactu::kMaxRegistrosEnvio);
    temporizador_.stop();
    if (pendientes.empty()) {
        Q_EMIT Parado();
        return;
    }
    const std::int64_t espera = ritmo_.Espera(reloj_.elapsed(), pendientes.size());
    if (espera > 0) {
        temporizador_.start(std::chrono::milliseconds(espera));
        return;
    }
    if (nif.isEmpty() || c_.ajustes.certificado.empty()) {
        ritmo_.Acabado(reloj_.elapsed()); // counts as an attempt: the next one waits
        Informe i;
        i.problema = nif.isEmpty() ? QStringLiteral("Falta el NIF del emisor: póngalo en "
                                                    "Recibos → VERI*FACTU….")
                                   : QStringLiteral("Falta el certificado del emisor: póngalo en "
                                                    "Recibos → VERI*FACTU….");
        Fallar(std::move(i));
        return;
    }
    verifactu::Remision remision;
    remision.fechaFin = FechaFin(c_.ajustes.hasta);
    remision.incidencia = std::any_of(pendientes.begin(), pendientes.end(),
                                      [](const auto& r) { return r.incidencia; });
    if (recrear_) {
        Crear();
        recrear_ = false;
    }
    std::vector<verifactu::Registro> registros;
    registros.reserve(pendientes.size());
    for (const auto& r : pendientes)
        registros.push_back(r.registro);
    lote_ = std::move(pendientes);
    conexion_->Enviar(verifactu::EscribirSobreSoap({c_.ajustes.emisorNombre, c_.ajustes.emisorNif},
                                                   registros, remision));
}

void Enviador::Terminado(const verifactu::ResultadoEnvio& resultado) {
    const std::vector<registro::RegistroFacturacion> lote = std::move(lote_);
    lote_.clear();
    ritmo_.Acabado(reloj_.elapsed());
    Informe informe;
    if (resultado.desenlace != verifactu::Desenlace::Respuesta) {
        informe.problema = resultado.detalle;
        informe.tecnico = resultado.Tecnico();
        informe.certificado = resultado.desenlace == verifactu::Desenlace::Certificado;
        if (informe.tecnico) {
            std::vector<qint64> ids;
            for (const auto& r : lote)
                ids.push_back(r.id);
            if (!registro_.MarcarIncidencia(ids))
                informe.problema += u' ' + registro_.Error();
        }
        Fallar(std::move(informe));
        return;
    }
    const verifactu::Respuesta& respuesta = resultado.lectura.respuesta;
    ritmo_.Respondido(respuesta.esperaSegundos);
    const std::vector<registro::EstadoDeRegistro> estados = EstadosDeLaRespuesta(lote, respuesta);
    if (!registro_.AnotarEstados(estados, QString::fromStdString(respuesta.csv))) {
        // The answer is lost to the register; the records go again and come back as held.
        informe.problema = QStringLiteral("La respuesta de la AEAT no se ha podido guardar en el "
                                          "registro: %1")
                               .arg(registro_.Error());
        informe.tecnico = true;
        Fallar(std::move(informe));
        return;
    }
    for (const registro::EstadoDeRegistro& e : estados) {
        if (e.estado == registro::EstadoEnvio::Aceptado)
            ++informe.aceptados;
        else if (e.estado == registro::EstadoEnvio::AceptadoConErrores)
            ++informe.conErrores;
        else if (e.estado == registro::EstadoEnvio::Rechazado) {
            const auto r =
                std::find_if(lote.begin(), lote.end(), [&](const auto& x) { return x.id == e.id; });
            informe.rechazados.push_back(*r);
            informe.rechazados.back().estado = e.estado;
            informe.rechazados.back().codigo = e.codigo;
            informe.rechazados.back().descripcion = e.descripcion;
        }
    }
    informe.sinRespuesta = int(lote.size() - estados.size());
    if (informe.sinRespuesta > 0) {
        // They stay pending and go again at the agency's pace; a run of the command line
        // stops rather than wait on them.
        informe.problema = QStringLiteral("La respuesta de la AEAT no dice nada de %1 de los "
                                          "registros enviados: siguen pendientes.")
                               .arg(informe.sinRespuesta);
        Q_EMIT Enviado(informe);
        if (c_.pararTrasFallo)
            Q_EMIT Parado();
        else
            Siguiente();
        return;
    }
    Q_EMIT Enviado(informe);
    Siguiente();
}

void Enviador::Fallar(Informe informe) {
    ritmo_.Fallido();
    const bool parar = c_.pararTrasFallo;
    Q_EMIT Enviado(informe);
    if (parar)
        Q_EMIT Parado();
    else
        Siguiente();
}

} // namespace envio
