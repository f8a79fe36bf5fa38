// A small XML document as a tree of elements, read with QXmlStreamReader, for the bank's
// reports: they are read by element name along a path, whatever else the bank adds around.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

namespace sepa {

struct NodoXml {
    QString nombre;  // local name, without prefix
    QString espacio; // namespace URI
    QString texto;   // its own text, without the blanks around it
    QString moneda;  // the "Ccy" attribute of an amount, if any
    std::vector<NodoXml> hijos;

    // The first child of that name, or null.
    const NodoXml* Hijo(QStringView nombre) const;
    // The first element along a path of names below this one ("Refs/EndToEndId"), or null.
    const NodoXml* En(QStringView camino) const;
    // Its text, or "" when the path is not there.
    QString Texto(QStringView camino) const;
    // Every child of that name, in order.
    std::vector<const NodoXml*> Hijos(QStringView nombre) const;
};

struct ArbolXml {
    NodoXml raiz;
    QString error; // why it could not be read, in Spanish; empty when it was
};

// The whole document; a file that is not well-formed XML, or nests deeper than any bank
// report does, gives only the error, with the line where it was found.
ArbolXml LeerArbolXml(const QByteArray& xml);

} // namespace sepa
