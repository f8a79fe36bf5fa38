#include "orden/Ayuda.h"

#include <QStringList>

namespace orden {

namespace {

// Where the help lines begin, after the option and its value.
constexpr qsizetype kColumnaDeAyuda = 33;

QString ConValor(const Opcion& o) {
    QString texto = QString::fromUtf8(o.nombre);
    if (o.valor != nullptr)
        texto += QLatin1Char(' ') + QString::fromUtf8(o.valor);
    return texto;
}

QString LineasDeAyuda(const QString& opcion, const char* ayuda) {
    QString texto;
    const QStringList lineas = QString::fromUtf8(ayuda).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        const QString izquierda = i == 0 ? opcion : QString();
        texto += QStringLiteral("  ") + izquierda.leftJustified(kColumnaDeAyuda) +
                 (izquierda.size() >= kColumnaDeAyuda ? QStringLiteral(" ") : QString()) +
                 lineas[i] + QLatin1Char('\n');
    }
    return texto;
}

} // namespace

QString Uso(const Tabla& tabla) {
    QStringList ordenes;
    for (const Capacidad& c : tabla) {
        if (!c.EsOrden() || c.opciones.empty())
            continue;
        QString uso = ConValor(c.opciones.front());
        QStringList resto;
        for (std::size_t i = 1; i < c.opciones.size(); ++i)
            resto << ConValor(c.opciones[i]);
        if (c.alternativas && !resto.isEmpty())
            uso += QStringLiteral(" (") + resto.join(QStringLiteral(" | ")) + QLatin1Char(')');
        else
            for (const QString& o : resto)
                uso += QStringLiteral(" [") + o + QLatin1Char(']');
        for (const Capacidad::Compartida& compartida : c.comparte)
            for (const Capacidad& otra : tabla)
                for (const Opcion& o : otra.opciones)
                    if (QLatin1String(o.nombre) == QLatin1String(compartida.nombre))
                        uso += compartida.opcional
                                   ? QStringLiteral(" [") + ConValor(o) + QLatin1Char(']')
                                   : QLatin1Char(' ') + ConValor(o);
        for (const Capacidad& a : tabla) {
            if (a.EsOrden() || QLatin1String(a.amplia) != QLatin1String(c.opciones.front().nombre))
                continue;
            QStringList suyas;
            for (const Opcion& o : a.opciones)
                suyas << (o.opcional ? QStringLiteral("[") + ConValor(o) + QLatin1Char(']')
                                     : ConValor(o));
            uso += QStringLiteral(" [") + suyas.join(QLatin1Char(' ')) + QLatin1Char(']');
        }
        ordenes << uso;
    }
    ordenes << QStringLiteral("--help");
    return QStringLiteral("Uso: talvero [") + ordenes.join(QStringLiteral(" | ")) +
           QStringLiteral("]\n");
}

QString Ayuda(const Tabla& tabla, const QStringList& notas) {
    QString texto = Uso(tabla);
    texto += QStringLiteral("\nSin opciones, abre el formulario de recibos.\n\nOpciones:\n");
    for (const Capacidad& c : tabla)
        for (const Opcion& o : c.opciones)
            texto += LineasDeAyuda(ConValor(o), o.ayuda);
    texto += LineasDeAyuda(QStringLiteral("-h, --help"), "muestra esta ayuda");
    texto += QStringLiteral("\nSalida: 0 hecho, 1 no se pudo exportar o emitir, 2 orden mal "
                            "escrita o lista con\nerrores.\n");
    for (const QString& nota : notas)
        texto += QLatin1Char('\n') + nota;
    return texto;
}

} // namespace orden
