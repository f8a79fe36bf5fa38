#include "form/ReciboDeApertura.h"

#include "form/LlenarRecibo.h"
#include "form/SavedSettings.h"
#include "platform/Today.h"
#include "resources/templates/Plantillas.h"
#include "resources/templates/Recursos.h"

#include <QString>

namespace {

// The entry a list selects for a saved text: the first that begins with it, ignoring case
// ("SOLID" selects "SOLIDO"); the text itself when none does.
std::string Seleccion(int lista, const std::string& texto) {
    const QString buscado = QString::fromStdString(texto);
    for (const platform::ListContents& l : plantillas::Formulario().lists) {
        if (l.id != lista)
            continue;
        for (std::string_view e : l.entries) {
            const QString entrada = QString::fromUtf8(e.data(), qsizetype(e.size()));
            if (entrada.startsWith(buscado, Qt::CaseInsensitive))
                return entrada.toStdString();
        }
    }
    return texto;
}

} // namespace

CRecibo ReciboDeApertura(const platform::SettingsStore& ajustes) {
    ReceiptFields f;
    saved_settings::ReadOpeningFirstGroup(ajustes, f);
    const platform::LocalDate hoy = platform::Today();
    f.m_Dia = hoy.dia;
    f.m_Mes = moneda::NumeroAMes(hoy.mes);
    f.m_Anio = hoy.anio;
    saved_settings::ReadOpeningSecondGroup(ajustes, f);
    f.m_Color = Seleccion(res::IDC_COLOR, f.m_Color);
    f.m_Relleno = Seleccion(res::IDC_RELLENO, f.m_Relleno);
    // As the form's exchange leaves them.
    f.m_Localidad = moneda::CapitalizeFirst(f.m_Localidad);
    f.m_Pagador1 = moneda::CapitalizeFirst(f.m_Pagador1);
    f.m_Cobrador1 = moneda::CapitalizeFirst(f.m_Cobrador1);
    CRecibo r;
    LlenarRecibo(f, r);
    return r;
}
