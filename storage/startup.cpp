// Start-up and shutdown steps on the settings store and the files.
#include "storage/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include "engine/catalogue.h"

namespace quellon {

namespace {

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void readStartSettings(const SettingsStore& store, SettingsValues& settings)
{
    const QString& s = SettingsStore::kSection;
    settings.language = store.readInteger(s, QStringLiteral("tongue"), kLanguageUnset);
    settings.soundOn = store.readBoolean(s, QStringLiteral("sound"), true);
    settings.background = store.readInteger(s, QStringLiteral("back"), 0);
    settings.musicOn = store.readBoolean(s, QStringLiteral("music"), true);
}

void readPatternMode(const SettingsStore& store, SettingsValues& settings)
{
    settings.patmode = store.readInteger(SettingsStore::kSection, QStringLiteral("patmode"), 2);
}

bool isOnOpticalDisc(const QString& directory)
{
    const QStorageInfo storage(directory);
    const QByteArray type = storage.fileSystemType().toLower();
    return type == "iso9660" || type == "udf";
}

namespace {

// True when a file can really be made in the directory: permission bits say
// little to root or on a read-only mount.
bool canCreateFilesIn(const QString& directory)
{
    if (!QDir().mkpath(directory))
        return false;
    QTemporaryFile probe(directory + QStringLiteral("/.write-test-XXXXXX"));
    return probe.open();
}

}  // namespace

void createGamesDirectory(GameData& game, const QString& userDataDir)
{
    // Saved games live beside the program when that is possible (a portable
    // folder, as the game always did); a read-only install or a disc keeps
    // them in the user's data directory instead, so saving never fails for it.
    game.gamesDir.clear();
    if (!isOnOpticalDisc(fromStd(game.programDir)) && canCreateFilesIn(fromStd(gamesDirectory(game))))
        return;
    if (!userDataDir.isEmpty())
        game.gamesDir = QDir(userDataDir).filePath(QStringLiteral("games")).toStdString();
}

bool loadCatalogueOrReport(GameData& game, int language, Messages& messages)
{
    const CatalogueResult result = loadCatalogue(game);
    if (result.ok())
        return true;
    messages.showFatal(fromStd(catalogueFailureMessage(result).text(language)));
    return false;
}

void restoreCurrentQuellon(GameData& game, const SettingsStore& store)
{
    game.currentQuellon =
        clampLevel(store.readInteger(SettingsStore::kSection, QStringLiteral("level"), 1), game.quellonCount);
}

std::optional<QString> restoreLastGame(GameData& game, const SettingsStore& store, int language)
{
    game.gameName = store.readText(SettingsStore::kSection, QStringLiteral("game"), QString()).toStdString();
    if (game.gameName.empty())
        return std::nullopt;
    if (!QFileInfo::exists(fromStd(savedGamePath(game, game.gameName)))) {
        game.gameName.clear();
        return std::nullopt;
    }
    // A copy: a failed load empties gameName, and the message names the game.
    const std::string name = game.gameName;
    const LoadResult result = loadSavedGame(game, name);
    if (!result.ok)
        return fromStd(result.failure.text(language));
    return std::nullopt;
}

void writeCloseSettings(const SettingsStore& store, const GameData& game, const SettingsValues& settings,
                        std::optional<QSize> normalOuterSize)
{
    const QString& s = SettingsStore::kSection;
    const SettingsValues& v = settings;
    store.writeBoolean(s, QStringLiteral("sound"), v.soundOn);
    if (normalOuterSize) {
        store.writeInteger(s, QStringLiteral("wid"), normalOuterSize->width());
        store.writeInteger(s, QStringLiteral("hig"), normalOuterSize->height());
    }
    store.writeInteger(s, QStringLiteral("level"), game.currentQuellon);
    store.writeInteger(s, QStringLiteral("tongue"), v.language);
    store.writeInteger(s, QStringLiteral("back"), v.background);
    store.writeBoolean(s, QStringLiteral("music"), v.musicOn);
    store.writeText(s, QStringLiteral("game"), fromStd(game.gameName));
    store.writeInteger(s, QStringLiteral("patmode"), v.patmode);
}

std::optional<WindowPlacement> readPlacement(const SettingsStore& store)
{
    const std::string text =
        store.readText(SettingsStore::kSection, QStringLiteral("MainForm"), QString()).toStdString();
    return parsePlacement(text);
}

void writePlacement(const SettingsStore& store, const WindowPlacement& placement)
{
    store.writeText(SettingsStore::kSection, QStringLiteral("MainForm"), fromStd(formatPlacement(placement)));
}

}  // namespace quellon
