#include "sepa/EscribirRemesa.h"

#include "platform/SaveFailure.h"
#include "sepa/Cuentas.h"
#include "sepa/IdentificadorMensaje.h"
#include "sepa/Pain008.h"

#include <QDate>
#include <QDir>
#include <QSaveFile>

namespace sepa {

namespace {

constexpr std::size_t kMaxAdeudos = 1'000'000;

QString Frase(const std::string& texto) {
    return QString::fromStdString(texto);
}

// The first fault of the remittance, as the sentence the user reads; empty when none.
QString Falta(const Remesa& remesa, Fecha hoy) {
    if (const auto p = ComprobarAcreedor(remesa.acreedor))
        return QStringLiteral("Los datos del acreedor (Recibos → Datos del acreedor…) no son "
                              "válidos; %1: %2")
            .arg(Frase(p->campo), Frase(p->mensaje));
    if (const std::string fecha = ComprobarFechaCobro(remesa.fechaCobro, hoy); !fecha.empty()) {
        QString texto = Frase(fecha);
        texto[0] = texto[0].toUpper();
        return texto;
    }
    if (remesa.adeudos.empty())
        return QStringLiteral("La remesa no tiene ningún recibo que cobrar.");
    // So that the control sum keeps within the 18 digits the bank's format admits.
    if (remesa.adeudos.size() > kMaxAdeudos)
        return QStringLiteral("La remesa tiene %L1 recibos, y un archivo admite %L2 como mucho: "
                              "repártalos en varias remesas.")
            .arg(qulonglong(remesa.adeudos.size()))
            .arg(qulonglong(kMaxAdeudos));
    for (const Adeudo& a : remesa.adeudos)
        if (const auto p = ComprobarAdeudo(a, remesa.fechaCobro, hoy))
            return QStringLiteral("Recibo «%1», %2: %3")
                .arg(Frase(a.numero), Frase(p->campo), Frase(p->mensaje));
    const auto otros = MandatosConOtraCuenta(remesa.adeudos);
    for (std::size_t i = 0; i < otros.size(); ++i)
        if (otros[i]) {
            const Adeudo& a = remesa.adeudos[i];
            const std::string otro = "del recibo «" + remesa.adeudos[*otros[i]].numero + "»";
            return QStringLiteral("Recibo «%1», Mandato: %2")
                .arg(Frase(a.numero), Frase(MandatoConOtraCuenta(a.mandato, otro)));
        }
    return {};
}

} // namespace

Fecha Hoy() {
    const QDate hoy = QDate::currentDate();
    return Fecha{std::chrono::year(hoy.year()), std::chrono::month(unsigned(hoy.month())),
                 std::chrono::day(unsigned(hoy.day()))};
}

ResultadoRemesa DocumentoRemesa(const Remesa& remesa, const QString& msgId, QByteArray& documento,
                                Fecha hoy, FormatoRemesa formato) {
    ResultadoRemesa resultado;
    resultado.error = Falta(remesa, hoy);
    if (!resultado.Escrita())
        return resultado;
    DocumentoRemesaSepa escrito = formato(remesa, msgId, QDateTime::currentDateTime());
    documento = std::move(escrito.xml);
    resultado.adeudos = escrito.adeudos;
    resultado.centimos = escrito.centimos;
    resultado.msgId = msgId;
    return resultado;
}

ResultadoRemesa EscribirRemesa(const QString& ruta, const Remesa& remesa, Fecha hoy,
                               FormatoRemesa formato) {
    QByteArray documento;
    ResultadoRemesa resultado =
        DocumentoRemesa(remesa, NuevoIdentificadorMensaje(), documento, hoy, formato);
    if (!resultado.Escrita())
        return resultado;
    const QString msgId = resultado.msgId;
    resultado.msgId.clear();
    // As the PDF files: the temporary file replaces `ruta` only once all of it is on disk.
    QSaveFile archivo(ruta);
    const auto fallo = [&](const QString& motivo) {
        resultado.error = QStringLiteral("No se pudo guardar la remesa en «%1»: %2.")
                              .arg(QDir::toNativeSeparators(ruta), motivo);
        resultado.adeudos = 0;
        resultado.centimos = 0;
        return resultado;
    };
    if (!archivo.open(QIODevice::WriteOnly))
        return fallo(platform::OpenFailureReason(ruta));
    if (archivo.write(documento) != documento.size() || !archivo.flush() || !archivo.commit()) {
        archivo.cancelWriting();
        return fallo(platform::CommitFailureReason(archivo));
    }
    resultado.msgId = msgId;
    return resultado;
}

} // namespace sepa
