#include "platform/SettingsStore.h"

#include "platform/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace platform {

namespace {

// The file behind the native store, found with a store of a name that exists nowhere, so
// that nothing of ours is read before it has been looked at.
QString NativeFilePath() {
#ifdef Q_OS_WIN
    return {}; // the registry: nothing to look at
#else
    const QString probeName = QStringLiteral("talvero-ruta-de-ajustes");
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, probeName, probeName);
    const QString base = QFileInfo(probe.fileName()).absoluteDir().absolutePath();
    const QString userDir = QFileInfo(base).absolutePath();
    return userDir + QLatin1Char('/') + QCoreApplication::organizationName() + QLatin1Char('/') +
           QCoreApplication::applicationName() + QStringLiteral(".conf");
#endif
}

} // namespace

struct SettingsStore::Impl {
    QString filePath; // empty where the store is not a file
    std::optional<QSettings> settings;
    QString problem;
    QString setAside;

    // Looks at the path, then opens QSettings through `open` if it may.
    template <class Open> void Start(Open&& open) {
        if (!filePath.isEmpty()) {
            const settings_file::Check check = settings_file::Inspect(filePath);
            setAside = check.setAside;
            if (!check.usable) {
                problem = check.problem;
                return;
            }
            // QSettings takes the lock to read; make sure it will get it at once.
            if (!settings_file::WithLock(filePath, problem, {}))
                return;
        }
        open();
    }

    QString path(std::string_view section, std::string_view key) const {
        return QString::fromUtf8(section.data(), qsizetype(section.size())) + QLatin1Char('/') +
               QString::fromUtf8(key.data(), qsizetype(key.size()));
    }

    QVariant value(std::string_view section, std::string_view key) const {
        return settings ? settings->value(path(section, key)) : QVariant();
    }

    // Writes the value unless the file already holds it, as the text it would be written
    // as. A form closed without a change then leaves the file alone: no lock taken, nothing
    // rewritten or flushed to disk.
    void write(std::string_view section, std::string_view key, const QVariant& value,
               const QString& asText) {
        if (!settings)
            return;
        const QString where = path(section, key);
        const QVariant held = settings->value(where);
        if (held.typeId() != QMetaType::QString || held.toString() != asText)
            settings->setValue(where, value);
    }
};

SettingsStore::SettingsStore() : impl_(std::make_unique<Impl>()) {
    impl_->filePath = NativeFilePath();
    impl_->Start([this] {
        impl_->settings.emplace(QSettings::NativeFormat, QSettings::UserScope,
                                QCoreApplication::organizationName(),
                                QCoreApplication::applicationName());
    });
}

SettingsStore::SettingsStore(const std::string& iniPath) : impl_(std::make_unique<Impl>()) {
    impl_->filePath = QString::fromStdString(iniPath);
    impl_->Start([this] { impl_->settings.emplace(impl_->filePath, QSettings::IniFormat); });
}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::GetString(std::string_view section, std::string_view key) const {
    const QVariant v = impl_->value(section, key);
    // An INI line such as `RE_STRING=1,75` written by hand reads back as a list; the comma
    // was part of the value, so put it back.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(',')).toStdString();
    if (!v.canConvert<QString>())
        return {};
    return v.toString().toStdString();
}

int SettingsStore::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
    const QVariant v = impl_->value(section, key);
    if (!v.isValid() || v.typeId() == QMetaType::QStringList)
        return defaultValue;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok, 10);
    return ok ? n : defaultValue;
}

void SettingsStore::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
    const QString text = QString::fromUtf8(value.data(), qsizetype(value.size()));
    impl_->write(section, key, text, text);
}

void SettingsStore::WriteInt(std::string_view section, std::string_view key, int value) {
    // An INI file keeps a number as its decimal text.
    impl_->write(section, key, value, QString::number(value));
}

void SettingsStore::Remove(std::string_view section, std::string_view key) {
    if (impl_->settings && impl_->settings->contains(impl_->path(section, key)))
        impl_->settings->remove(impl_->path(section, key));
}

bool SettingsStore::Flush() {
    if (!impl_->settings)
        return false;
    const QString& file = impl_->filePath;
    if (!file.isEmpty()) {
        // The path may have changed since the store was opened: look again.
        const settings_file::Check check = settings_file::Inspect(file);
        if (!check.usable) {
            impl_->problem = check.problem;
            return false;
        }
        // Nothing else in the folder is touched: a file there that looks like the leftover
        // of a killed save may as well be the user's own copy.
        if (!settings_file::WithLock(file, impl_->problem, {}))
            return false;
    }
    impl_->settings->sync();
    if (impl_->settings->status() == QSettings::AccessError) {
        impl_->problem = QStringLiteral("no se ha podido escribir en «") +
                         QDir::toNativeSeparators(file) + QStringLiteral("».");
        return false;
    }
    return true;
}

bool SettingsStore::Usable() const {
    return impl_->settings.has_value();
}

std::string SettingsStore::Problem() const {
    return impl_->problem.toStdString();
}

std::string SettingsStore::OpeningNotice() const {
    if (impl_->setAside.isEmpty())
        return {};
    return (QStringLiteral("Los ajustes guardados estaban dañados y se han apartado como «") +
            QDir::toNativeSeparators(impl_->setAside) +
            QStringLiteral("». El programa empieza con los valores iniciales y los guardará de "
                           "nuevo al cerrar."))
        .toStdString();
}

} // namespace platform
