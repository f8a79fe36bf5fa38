#include "register/ConexionEnSegundoPlano.h"

#include "register/UriPostgres.h"

#include <QApplication>
#include <QEventLoop>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>

namespace registro {

namespace {

std::atomic<int> esperasEnCurso{0};

// What the connecting thread and the waiting one share. The waiting one may give up; the
// connecting one then closes what it opened, since nobody will.
struct Intento {
    QMutex cerrojo;
    bool abandonado = false;
    bool hecho = false;
    Apertura resultado;
};

void QuitarConexionAbandonada(const QString& nombre) {
    {
        QSqlDatabase db = QSqlDatabase::database(nombre, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
}

} // namespace

bool EnHiloDeVentanas() {
    const QCoreApplication* app = QCoreApplication::instance();
    return qobject_cast<const QApplication*>(app) != nullptr &&
           QThread::currentThread() == app->thread();
}

bool EsperandoServidor() {
    return esperasEnCurso.load() > 0;
}

EsperaDeServidor::EsperaDeServidor() : contada_(EnHiloDeVentanas()) {
    if (contada_)
        ++esperasEnCurso;
}

EsperaDeServidor::~EsperaDeServidor() {
    if (contada_)
        --esperasEnCurso;
}

Apertura AbrirSinBloquear(const QString& nombre, std::function<Apertura()> abrir) {
    if (!EnHiloDeVentanas())
        return abrir();
    const EsperaDeServidor espera;
    auto intento = std::make_shared<Intento>();
    QThread* const destino = QThread::currentThread();
    QThread* const hilo = QThread::create([intento, destino, nombre, abrir = std::move(abrir)] {
        Apertura a = abrir();
        const QMutexLocker cierre(&intento->cerrojo);
        if (a.ok && intento->abandonado) {
            QuitarConexionAbandonada(nombre);
            return;
        }
        // A connection is used only on the thread its driver belongs to: the driver goes to
        // the waiting thread, as QSqlDatabase::moveToThread does from Qt 6.8 on (no query
        // of it is left here).
        if (a.ok)
            QSqlDatabase::database(nombre, false).driver()->moveToThread(destino);
        intento->resultado = std::move(a);
        intento->hecho = true;
    });
    QEventLoop bucle;
    QObject::connect(hilo, &QThread::finished, &bucle, &QEventLoop::quit);
    QObject::connect(hilo, &QThread::finished, hilo, &QObject::deleteLater);
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&limite, &QTimer::timeout, &bucle, &QEventLoop::quit);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    hilo->start();
    // libpq's connect_timeout counts each of the server's addresses apart and not the finding
    // of its name: the windows wait for all of it no longer than the longest wait.
    limite.start(std::chrono::seconds(kEsperaMaxima));
    // Windows repaint and timers run; what the user types or clicks waits for the answer.
    bucle.exec(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::restoreOverrideCursor();
    const QMutexLocker cierre(&intento->cerrojo);
    if (!intento->hecho) {
        intento->abandonado = true;
        Apertura a;
        a.abandonada = true;
        a.motivo =
            QStringLiteral("el servidor no contesta (más de %1 segundos)").arg(kEsperaMaxima);
        return a;
    }
    return intento->resultado;
}

} // namespace registro
