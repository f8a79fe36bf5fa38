#include "sepa/IdentificadorMensaje.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <atomic>

namespace sepa {

namespace {

// `ancho` base-36 digits of `n`, the higher ones dropped.
QString Base36(std::uint64_t n, int ancho) {
    static constexpr char kDigitos[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QString texto(ancho, u'0');
    for (int i = ancho - 1; i >= 0; --i) {
        texto[i] = QLatin1Char(kDigitos[n % 36]);
        n /= 36;
    }
    return texto;
}

} // namespace

QString IdentificadorMensaje(const QDateTime& momento, std::uint64_t proceso, std::uint64_t cuenta,
                             std::uint64_t azar) {
    return QLatin1Char('R') + momento.toString(QStringLiteral("yyyyMMddHHmmsszzz")) +
           Base36(proceso, 6) + Base36(cuenta, 2) + Base36(azar, 4);
}

QString NuevoIdentificadorMensaje() {
    static std::atomic<std::uint64_t> cuenta{0};
    return IdentificadorMensaje(QDateTime::currentDateTime(),
                                std::uint64_t(QCoreApplication::applicationPid()), cuenta++,
                                QRandomGenerator::system()->generate64());
}

} // namespace sepa
