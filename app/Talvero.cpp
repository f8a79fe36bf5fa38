#include "app/Talvero.h"

#include "form/TalveroDlg.h"
#include "resources/links/Enlaces.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>

CTalveroApp::CTalveroApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The application name stays Qt's default, the executable's base name ("talvero"),
    // which is one level of the settings path.
}

bool CTalveroApp::InitInstance() {
    // The company key must be set before the form opens: it reads its settings then.
    setOrganizationName(QString::fromStdString(enlaces::Empresa()));

    if (qtTranslator_.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                           QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&qtTranslator_);

    CTalveroDlg dlg;
    // For the installed-program check only: leave through the cancel path, as a user
    // would, this many milliseconds after the form is shown.
    if (const int ms = qEnvironmentVariableIntValue("TALVERO_TEST_AUTOCLOSE_MS"); ms > 0)
        QTimer::singleShot(ms, &dlg, [&dlg] { dlg.reject(); });
    dlg.exec(); // which button closed it does not matter
    return false;
}
