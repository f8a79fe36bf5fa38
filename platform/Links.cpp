#include "platform/Links.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace platform {

void OpenLink(const std::string& link) {
    // Strict parsing: a link is opened as it is written or not at all, never "corrected"
    // into some other address or into a local file. Only web and mail links are handed
    // on, since those are the only kinds the program has and the only ones a default
    // program should be started for.
    const QUrl url(QString::fromStdString(link), QUrl::StrictMode);
    if (!url.isValid())
        return;
    const QString scheme = url.scheme(); // QUrl keeps schemes in lower case
    if (scheme != QLatin1String("https") && scheme != QLatin1String("http") &&
        scheme != QLatin1String("mailto"))
        return;
    QDesktopServices::openUrl(url); // failures are not reported, as for any link
}

} // namespace platform
