// The per-user settings store: QSettings in its native format (the registry on Windows,
// an INI file under the user's configuration folder elsewhere), organization "Quenlaria",
// the application name, then a section and a key.
//
// Where the store is a file, what stands at its path is looked at before QSettings opens
// it (SettingsFile.h). Anything but a regular file or nothing makes the store unusable: it
// reads as empty, so every key takes its default, keeps nothing, and says why in Problem().
// A file far too large to be ours is set aside under a new name and the store starts empty.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// The one section Talvero keeps its keys in: the form's fields, the percentage lists and the
// creditor's data. An INI file writes it [Aplicacion%20Talvero].
inline constexpr char kTalveroSection[] = "Aplicacion Talvero";

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
    // Takes a key out of the store, so that it reads as absent again.
    void Remove(std::string_view section, std::string_view key);
    // Writes everything out at once; no other file of the folder is touched. Returns false, with
    // the reason in Problem(), when nothing could be written; never waits for the store's lock
    // longer than a few seconds.
    bool Flush();

    // Whether the store's file could be opened at all.
    bool Usable() const;
    // Why the store could not be used or written, as the end of the Spanish sentence "No se
    // han podido guardar los ajustes: ..."; empty while all is well.
    std::string Problem() const;
    // Set when opening found a damaged settings file and moved it aside: the Spanish notice
    // for the user. Empty otherwise.
    std::string OpeningNotice() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
