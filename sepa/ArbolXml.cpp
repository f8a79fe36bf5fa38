#include "sepa/ArbolXml.h"

#include <QXmlStreamReader>

namespace sepa {

namespace {

// The reports nest about fifteen levels; a file much deeper is no report and would only
// cost memory.
constexpr std::size_t kMaxProfundidad = 64;

// Qt's own words are English; the user reads what kind of fault it is in Spanish.
QString Motivo(const QXmlStreamReader& lector, bool raizLeida) {
    switch (lector.error()) {
    case QXmlStreamReader::CustomError:
        return lector.errorString();
    case QXmlStreamReader::PrematureEndOfDocumentError:
        return raizLeida ? QStringLiteral("se acaba antes de cerrar todos sus elementos")
                         : QStringLiteral("no tiene ningún elemento");
    case QXmlStreamReader::NoError:
        return QStringLiteral("no tiene ningún elemento");
    default:
        return QStringLiteral("no está bien formado");
    }
}

} // namespace

const NodoXml* NodoXml::Hijo(QStringView buscado) const {
    for (const NodoXml& h : hijos)
        if (h.nombre == buscado)
            return &h;
    return nullptr;
}

const NodoXml* NodoXml::En(QStringView camino) const {
    const NodoXml* nodo = this;
    for (const QStringView parte : camino.tokenize(u'/')) {
        nodo = nodo->Hijo(parte);
        if (!nodo)
            return nullptr;
    }
    return nodo;
}

QString NodoXml::Texto(QStringView camino) const {
    const NodoXml* nodo = En(camino);
    return nodo ? nodo->texto : QString();
}

std::vector<const NodoXml*> NodoXml::Hijos(QStringView buscado) const {
    std::vector<const NodoXml*> encontrados;
    for (const NodoXml& h : hijos)
        if (h.nombre == buscado)
            encontrados.push_back(&h);
    return encontrados;
}

ArbolXml LeerArbolXml(const QByteArray& xml) {
    ArbolXml arbol;
    QXmlStreamReader lector(xml);
    // The open elements, outermost first. Only the innermost one's children grow, so the
    // pointers to its ancestors stay valid.
    std::vector<NodoXml*> abiertos;
    bool raizLeida = false;
    while (!lector.atEnd()) {
        lector.readNext();
        if (lector.isStartElement()) {
            if (abiertos.size() >= kMaxProfundidad) {
                lector.raiseError(QStringLiteral("anida más de %1 elementos").arg(kMaxProfundidad));
                break;
            }
            NodoXml* nodo = nullptr;
            if (abiertos.empty()) {
                nodo = &arbol.raiz;
                raizLeida = true;
            } else {
                nodo = &abiertos.back()->hijos.emplace_back();
            }
            nodo->nombre = lector.name().toString();
            nodo->espacio = lector.namespaceUri().toString();
            nodo->moneda = lector.attributes().value(QStringLiteral("Ccy")).toString();
            abiertos.push_back(nodo);
        } else if (lector.isEndElement()) {
            abiertos.back()->texto = abiertos.back()->texto.trimmed();
            abiertos.pop_back();
        } else if (lector.isCharacters() && !abiertos.empty()) {
            abiertos.back()->texto += lector.text();
        }
    }
    if (lector.hasError() || !raizLeida) {
        const QString motivo = Motivo(lector, raizLeida);
        arbol = ArbolXml{};
        arbol.error = QStringLiteral("El archivo no es un XML legible (línea %1): %2.")
                          .arg(lector.lineNumber())
                          .arg(motivo);
    }
    return arbol;
}

} // namespace sepa
