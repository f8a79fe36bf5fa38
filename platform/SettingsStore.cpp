#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace platform {

struct SettingsStore::Impl {
    QSettings settings;

    Impl()
        : settings(QSettings::NativeFormat, QSettings::UserScope,
                   QCoreApplication::organizationName(), QCoreApplication::applicationName()) {}
    explicit Impl(const QString& path) : settings(path, QSettings::IniFormat) {}

    QString path(std::string_view section, std::string_view key) const {
        return QString::fromUtf8(section.data(), qsizetype(section.size())) + QLatin1Char('/') +
               QString::fromUtf8(key.data(), qsizetype(key.size()));
    }
};

SettingsStore::SettingsStore() : impl_(std::make_unique<Impl>()) {}

SettingsStore::SettingsStore(const std::string& iniPath)
    : impl_(std::make_unique<Impl>(QString::fromStdString(iniPath))) {}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::GetString(std::string_view section, std::string_view key) const {
    const QVariant v = impl_->settings.value(impl_->path(section, key));
    // An INI line such as `RE_STRING=1,75` written by hand reads back as a list; the comma
    // was part of the value, so put it back.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(',')).toStdString();
    if (!v.canConvert<QString>())
        return {};
    return v.toString().toStdString();
}

int SettingsStore::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
    const QVariant v = impl_->settings.value(impl_->path(section, key));
    if (!v.isValid() || v.typeId() == QMetaType::QStringList)
        return defaultValue;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok, 10);
    return ok ? n : defaultValue;
}

void SettingsStore::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
    impl_->settings.setValue(impl_->path(section, key),
                             QString::fromUtf8(value.data(), qsizetype(value.size())));
}

void SettingsStore::WriteInt(std::string_view section, std::string_view key, int value) {
    impl_->settings.setValue(impl_->path(section, key), value);
}

void SettingsStore::Flush() {
    impl_->settings.sync();
}

} // namespace platform
