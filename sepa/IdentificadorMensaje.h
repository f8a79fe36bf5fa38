// The identifier of a remittance file (its MsgId): the bank refuses a file whose identifier
// it has seen before, so no two files may share one, even when written in the same second
// by two copies of the program.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace sepa {

// At most this many characters, so that the identifier of a group of debits ("-FRST"
// appended) keeps within the 35 the bank admits.
inline constexpr qsizetype kMaxIdentificadorMensaje = 30;

// "R", the local time to the millisecond (yyyyMMddHHmmsszzz), then in base 36 the
// process id (6 characters), a count of the identifiers this process has made (2) and a
// random number (4): two processes differ in their ids, two files of one process in their
// count, and a process id reused later in the time.
QString IdentificadorMensaje(const QDateTime& momento, std::uint64_t proceso, std::uint64_t cuenta,
                             std::uint64_t azar);

// A new identifier for a file written now by this process.
QString NuevoIdentificadorMensaje();

} // namespace sepa
