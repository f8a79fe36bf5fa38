#include "lista/Lista.h"

#include "lista/FacturasLista.h"

#include "lista/Cita.h"
#include "lista/Columnas.h"
#include "lista/ColumnasAdeudo.h"

#include "receipt/LimitesCampos.h"
#include "receipt/ReciboTexto.h"
#include "register/Registro.h"

#include <QHash>
#include <QLocale>

#include <algorithm>

namespace lista {

namespace {

bool SoloCifras(const QString& t) {
    if (t.isEmpty())
        return false;
    for (QChar c : t)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The apostrophe the register's export puts in front of a text a spreadsheet would run as
// a formula: one that begins with a tab or a carriage return, or whose first character
// after blanks is "=", "+", "-" or "@". Any other apostrophe is the text's own.
QString SinApostrofo(const QString& celda) {
    if (!celda.startsWith(u'\''))
        return celda;
    const QStringView texto = QStringView(celda).sliced(1);
    const auto primero =
        std::find_if_not(texto.begin(), texto.end(), [](QChar c) { return c.isSpace(); });
    const bool protegido =
        !texto.isEmpty() && (texto[0] == u'\t' || texto[0] == u'\r' ||
                             (primero != texto.end() && QStringView(u"=+-@").contains(*primero)));
    return protegido ? texto.toString() : celda;
}

FilaRevisada RevisarFila(const FilaCsv& csv, const Cabecera& cab, const CRecibo& plantilla,
                         const TiposPermitidos& tipos) {
    FilaRevisada fila;
    fila.fila = csv.fila;
    fila.recibo = plantilla;
    if (!cab.Tiene("Número"))
        fila.recibo.m_Numero.clear(); // every row is given a number
    ContextoFila ctx{fila, tipos, {}, {}, {}, {}, {}};
    const qsizetype ancho = qsizetype(cab.columnas.size());
    for (qsizetype i = 0; i < ancho; ++i) {
        const Columna* c = cab.columnas[std::size_t(i)];
        if (c == nullptr || c->regla == nullptr)
            continue;
        ctx.columna = cab.titulos[i].trimmed();
        const auto ajeno = std::find_if(csv.ajenos.begin(), csv.ajenos.end(),
                                        [i](const CaracterAjeno& a) { return a.campo == i; });
        const QString error = ajeno != csv.ajenos.end()
                                  ? TextoAjeno(*ajeno, csv.campos[i])
                                  : c->regla(SinApostrofo(csv.campos.value(i)), ctx);
        if (!error.isEmpty())
            fila.errores
                << QStringLiteral("Fila %1, %2: %3").arg(fila.fila).arg(ctx.columna, error);
    }
    for (qsizetype i = ancho; i < csv.campos.size(); ++i) {
        if (!csv.campos[i].trimmed().isEmpty()) {
            fila.errores << QStringLiteral("Fila %1: tiene %2 campos y la cabecera solo %3; "
                                           "«%4» no tiene columna")
                                .arg(fila.fila)
                                .arg(csv.campos.size())
                                .arg(ancho)
                                .arg(Cita(csv.campos[i]));
            break;
        }
    }
    if (fila.errores.isEmpty())
        CompletarFila(ctx);
    if (fila.errores.isEmpty())
        CompletarAdeudo(fila);
    return fila;
}

} // namespace

qsizetype ListaRevisada::FilasConErrores() const {
    qsizetype n = 0;
    for (const FilaRevisada& f : filas)
        n += f.Valida() ? 0 : 1;
    return n;
}

qsizetype ListaRevisada::Avisos() const {
    qsizetype n = avisos.size();
    for (const FilaRevisada& f : filas)
        n += f.avisos.size();
    return n;
}

bool ListaRevisada::Emitible() const {
    return error.isEmpty() && !filas.empty() && FilasConErrores() == 0;
}

moneda::Currency ListaRevisada::Total() const {
    moneda::Currency total;
    for (const FilaRevisada& f : filas)
        if (f.Valida())
            total = total + recibo::TotalRecibo(f.recibo);
    return total;
}

QString ListaRevisada::Resumen() const {
    if (!error.isEmpty())
        return QStringLiteral("La lista no se puede usar: %1").arg(error);
    const QLocale es(QLocale::Spanish);
    const qsizetype n = qsizetype(filas.size());
    QString t =
        QStringLiteral("%1 %2, total %3")
            .arg(es.toString(n), n == 1 ? QStringLiteral("recibo") : QStringLiteral("recibos"),
                 TextoEuros(Total()));
    if (const qsizetype e = FilasConErrores())
        t += QStringLiteral("; %1 %2").arg(es.toString(e),
                                           e == 1 ? QStringLiteral("fila con errores")
                                                  : QStringLiteral("filas con errores"));
    if (const qsizetype a = Avisos())
        t += QStringLiteral("; %1 %2").arg(es.toString(a), a == 1 ? QStringLiteral("aviso")
                                                                  : QStringLiteral("avisos"));
    return t;
}

bool Numerar(std::vector<FilaRevisada>& filas, const std::string& numeroDelFormulario,
             const NumerosDelRegistro& registro, QString& error) {
    QSet<QString> deLaLista;
    bool faltan = false;
    for (const FilaRevisada& f : filas) {
        if (f.conNumero)
            deLaLista.insert(QString::fromStdString(f.recibo.m_Numero));
        else
            faltan = true;
    }
    if (faltan) {
        QString siguiente = registro.siguiente;
        if (siguiente.isEmpty()) {
            const QString delFormulario = QString::fromStdString(numeroDelFormulario).trimmed();
            if (!registro.enUso.isEmpty()) {
                error = QStringLiteral("hay filas sin número y el registro usa números que no son "
                                       "solo cifras, así que Talvero no puede darles uno: añada "
                                       "una columna «Número» con el de cada recibo");
                return false;
            }
            siguiente = SoloCifras(delFormulario) ? delFormulario : QStringLiteral("1");
        }
        for (FilaRevisada& f : filas) {
            if (f.conNumero)
                continue;
            while (deLaLista.contains(siguiente) || registro.enUso.contains(siguiente))
                siguiente = registro::MasUno(siguiente);
            if (siguiente.size() > limites::kNumero)
                f.errores << QStringLiteral("Fila %1, Número: el siguiente número, %2, tiene más "
                                            "de %3 cifras")
                                 .arg(f.fila)
                                 .arg(siguiente)
                                 .arg(limites::kNumero);
            else
                f.recibo.m_Numero = siguiente.toStdString();
            siguiente = registro::MasUno(siguiente);
        }
    }
    QHash<QString, qsizetype> primera;
    for (FilaRevisada& f : filas) {
        const QString numero = QString::fromStdString(f.recibo.m_Numero);
        if (numero.isEmpty())
            continue;
        if (const auto it = primera.constFind(numero); it != primera.constEnd())
            f.errores << QStringLiteral("Fila %1, Número: «%2» ya está en la fila %3")
                             .arg(f.fila)
                             .arg(numero)
                             .arg(*it);
        else
            primera.insert(numero, f.fila);
        if (f.conNumero && registro.usadosPorElEmisor &&
            registro.usadosPorElEmisor->contains(numero))
            f.errores << QStringLiteral("Fila %1, Número: «%2» ya se ha usado en otro recibo de "
                                        "este emisor, y una factura no puede repetir su número")
                             .arg(f.fila)
                             .arg(numero);
        else if (f.conNumero && registro.enUso.contains(numero))
            f.avisos << QStringLiteral("Fila %1, Número: «%2» ya está en el registro de recibos "
                                       "emitidos")
                            .arg(f.fila)
                            .arg(numero);
    }
    return true;
}

ListaRevisada RevisarLista(const TablaCsv& tabla, const CRecibo& plantilla,
                           const TiposPermitidos& tipos, const NumerosDelRegistro& registro,
                           std::optional<registro::Facturacion> facturacion) {
    ListaRevisada lista;
    lista.dialecto = tabla.dialecto;
    lista.error = tabla.error;
    if (!lista.error.isEmpty())
        return lista;
    if (tabla.filas.empty()) {
        lista.error = QStringLiteral("el archivo está vacío");
        return lista;
    }
    const Cabecera cab = LeerCabecera(tabla.filas.front().campos);
    if (!cab.error.isEmpty()) {
        lista.error = cab.error;
        return lista;
    }
    if (std::all_of(cab.columnas.begin(), cab.columnas.end(),
                    [](const Columna* c) { return c == nullptr; })) {
        lista.error = QStringLiteral("la primera fila no nombra ninguna columna de Talvero "
                                     "(«Pagador», «Concepto 1», «Importe 1»…)");
        return lista;
    }
    lista.avisos = cab.desconocidas;
    lista.filas.reserve(tabla.filas.size() - 1);
    for (std::size_t i = 1; i < tabla.filas.size(); ++i)
        lista.filas.push_back(RevisarFila(tabla.filas[i], cab, plantilla, tipos));
    if (lista.filas.empty()) {
        lista.error = QStringLiteral("el archivo no tiene ningún recibo después de la cabecera");
        return lista;
    }
    QString error;
    if (!Numerar(lista.filas, plantilla.m_Numero, registro, error)) {
        lista.error = error;
        lista.filas.clear();
    }
    if (facturacion) {
        lista.facturacion = std::move(facturacion);
        RevisarFacturas(lista);
    }
    return lista;
}

} // namespace lista
