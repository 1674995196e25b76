// The local civil date.
#include <QDate>

#include "platform/platform.h"

namespace lekta::plat {

LocalDate local_date() {
    QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

}  // namespace lekta::plat
