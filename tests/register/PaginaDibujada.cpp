#include "PaginaDibujada.h"

#include "BaseDePrueba.h"

#include "../print/PrintTestSupport.h"
#include "../receipt/RecordingSurface.h"
#include "platform/QtPageSurface.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include <numeric>

namespace registrotest {

namespace {
QString R(const page::Rect& r) {
    return QStringLiteral("(%1,%2,%3,%4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom);
}
} // namespace

QStringList Llamadas(CRecibo recibo) {
    RecordingSurface page;
    recibo.Dibujar(page);
    QStringList l;
    l << QStringLiteral("log %1").arg(QString::fromStdString(
        std::accumulate(page.log.begin(), page.log.end(), std::string(),
                        [](std::string a, const std::string& b) { return a + b + " "; })));
    for (const RecordedRectangle& r : page.rectangles)
        l << QStringLiteral("rect %1 pen %2/%3 brush %4/%5")
                 .arg(R(r.rect))
                 .arg(r.pen.color)
                 .arg(r.pen.width)
                 .arg(r.brush.color)
                 .arg(int(r.brush.fill));
    for (const RecordedText& t : page.texts)
        l << QStringLiteral("text %1 %2 %3 [%4] %5/%6 colour %7")
                 .arg(t.boxed ? QStringLiteral("box") : QStringLiteral("point"), R(t.rect))
                 .arg(int(t.align))
                 .arg(QString::fromStdString(t.text), QString::fromStdString(t.font.face))
                 .arg(t.font.cellHeight)
                 .arg(t.color);
    return l;
}

QStringList PalabrasPdf(CRecibo recibo, const QString& archivo) {
    {
        QPdfWriter writer(archivo);
        writer.setResolution(600);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        platform::QtPageSurface page(painter);
        recibo.Dibujar(page);
    }
    QStringList l;
    for (const printtest::Word& w : printtest::Words(archivo))
        l << QStringLiteral("%1 @ %2,%3-%4,%5")
                 .arg(w.text)
                 .arg(qRound(w.box.left() * 10))
                 .arg(qRound(w.box.top() * 10))
                 .arg(qRound(w.box.right() * 10))
                 .arg(qRound(w.box.bottom() * 10));
    return l;
}

int ContarFilas(const QString& ruta) {
    if (ruta.startsWith(QLatin1String("postgresql://")))
        return int(ValorEnServidor(ruta, QStringLiteral("SELECT count(*) FROM recibos")));
    const QString nombre = QUuid::createUuid().toString();
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
        db.setDatabaseName(ruta);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT count(*) FROM recibos")) && q.next())
                n = q.value(0).toInt();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
    return n;
}

} // namespace registrotest
