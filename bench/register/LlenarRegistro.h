// A register filled with the tests' varied receipts, half an hour apart from 2019 on, in one
// transaction: filling it is not what the benchmarks measure.
#pragma once

#include "SampleRecords.h"
#include "register/Registro.h"

#include <cstdint>

inline bool LlenarRegistro(registro::Registro& reg, qint64 recibos) {
    const QDateTime inicio(QDate(2019, 1, 1), QTime(9, 0), Qt::UTC);
    return reg.AnotarVarios(recibos,
                            [&](qint64 i, CRecibo& recibo, QString& destino, QDateTime& emitido) {
                                recibo = sample::Varied(std::uint64_t(i));
                                destino = QStringLiteral("Oficina");
                                emitido = inicio.addSecs(i * 1800);
                            });
}
