#include "app/DisplayCheck.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

const char kNoDisplayLine[] =
    "Talvero necesita un escritorio gráfico: no se ha encontrado ninguna pantalla.\n";

namespace {

struct Held {
    QtMsgType type;
    QByteArray category;
    QByteArray file;
    QByteArray function;
    int line;
    QString text;
};

// The toolkit's start runs before any thread of ours: plain statics are enough.
QtMessageHandler gPrevious = nullptr;
bool gHolding = false;
std::vector<Held> gHeld;

[[noreturn]] void RefuseToStart() {
    std::fputs(kNoDisplayLine, stderr);
    std::fflush(stderr);
    std::_Exit(1); // before the toolkit's abort; nothing of ours is open yet
}

bool IsPlatformMessage(const QMessageLogContext& context) {
    return context.category && QByteArray(context.category).startsWith("qt.qpa");
}

void WhileStarting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    // Without a display the platform plugin cannot start, and the toolkit ends with a
    // fatal message: that is the one moment to refuse.
    if (type == QtFatalMsg)
        RefuseToStart();
    if (IsPlatformMessage(context) && gHolding) {
        gHeld.push_back({type, QByteArray(context.category), QByteArray(context.file),
                         QByteArray(context.function), context.line, text});
        return;
    }
    if (gPrevious)
        gPrevious(type, context, text);
}

bool Named(const char* variable) {
    return !qEnvironmentVariableIsEmpty(variable);
}

} // namespace

StartupDisplayCheck::StartupDisplayCheck() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!Named("QT_QPA_PLATFORM") && !Named("DISPLAY") && !Named("WAYLAND_DISPLAY"))
        RefuseToStart();
#endif
    gHolding = true;
    gPrevious = qInstallMessageHandler(WhileStarting);
    previous_ = gPrevious;
    watching_ = true;
}

StartupDisplayCheck::~StartupDisplayCheck() {
    Started();
}

void StartupDisplayCheck::Started() {
    if (!watching_)
        return;
    watching_ = false;
    qInstallMessageHandler(previous_);
    // The warnings of a start that went well still reach whoever reads them.
    gHolding = false;
    std::vector<Held> held = std::move(gHeld);
    gHeld.clear();
    for (const Held& h : held) {
        const QMessageLogContext context(h.file.constData(), h.line, h.function.constData(),
                                         h.category.constData());
        qt_message_output(h.type, context, h.text);
    }
}
