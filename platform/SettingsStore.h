// The per-user settings store: QSettings in its native format (the registry on Windows,
// an INI file under the user's configuration folder elsewhere), organization "Quenlaria",
// the application name, then a section and a key.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

class SettingsStore {
public:
    // The store of the running application (organization and application name as set on
    // QCoreApplication).
    SettingsStore();
    // A store kept in one explicit INI file, for tests and tools.
    explicit SettingsStore(const std::string& iniPath);
    ~SettingsStore();

    // An absent key, or one that cannot be read as a string, gives "".
    std::string GetString(std::string_view section, std::string_view key) const;
    // An absent key, or one whose value is not a whole number in 32-bit range, gives the default.
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInt(std::string_view section, std::string_view key, int value);
    // Writes everything out at once; failures are not reported.
    void Flush();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
