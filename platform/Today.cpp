#include "platform/Today.h"

#include <QDate>

namespace platform {

LocalDate Today() {
    const QDate d = QDate::currentDate();
    return {d.day(), d.month(), d.year()};
}

} // namespace platform
