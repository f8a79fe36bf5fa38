// A document checked against a schema file with xmllint, by the record tests and by the
// stand-in of the agency's service alike.
#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QProcess>
#include <QtCore/QString>
#include <QtCore/QTemporaryFile>

namespace datos {

// xmllint's complaint, empty when the document is valid. --nonet: nothing is fetched.
inline QString XmllintCon(const QByteArray& xml, const QString& rutaEsquema) {
    QTemporaryFile f;
    if (!f.open())
        return QStringLiteral("sin archivo temporal");
    f.write(xml);
    f.close();
    QProcess p;
    p.start(QStringLiteral("xmllint"), {QStringLiteral("--nonet"), QStringLiteral("--noout"),
                                        QStringLiteral("--schema"), rutaEsquema, f.fileName()});
    p.waitForFinished();
    return p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAllStandardError());
}

} // namespace datos
