// The per-user settings store: every value of the game lies as text in the
// section "common" of the store named by kOrganisation and kApplication. Each
// operation opens the store for itself, unless a Session holds it open;
// reading never creates anything.
#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace quellon {

class SettingsStore {
public:
    static inline const QString kOrganisation = QStringLiteral("ZindleGames");
    static inline const QString kApplication = QStringLiteral("ZindleQuellon/V3");
    static inline const QString kSection = QStringLiteral("common");

    // The store's file below a per-user configuration folder (on Linux
    // $XDG_CONFIG_HOME, by default ~/.config), where players edit it by hand.
    static QString fileIn(const QString& configFolder);
    // Every store opened afterwards lies below `configFolder` instead of the
    // user's configuration folder. For tests and tools; the game never calls it.
    static void redirectTo(const QString& configFolder);

    // While a Session lives, every store reads and writes through one opened
    // store instead of opening it for each key: the start-up reads some twenty
    // keys in a row. Hand edits of the file are seen again once it ends.
    // Sessions nest; the outermost one holds the store.
    class Session {
    public:
        Session();
        ~Session();
        Session(const Session&) = delete;
        Session& operator=(const Session&) = delete;

    private:
        std::unique_ptr<QSettings> settings_;
    };

    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBoolean(const QString& section, const QString& key, bool defaultValue) const;
    // A hand-edited value with commas and no quotes comes back joined by
    // commas, as it was written.
    QString readText(const QString& section, const QString& key, const QString& defaultValue) const;
    bool contains(const QString& section, const QString& key) const;

    void writeInteger(const QString& section, const QString& key, int value) const;
    void writeBoolean(const QString& section, const QString& key, bool value) const;
    void writeText(const QString& section, const QString& key, const QString& value) const;
};

}  // namespace quellon
