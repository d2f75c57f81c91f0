#include "engine/saved_games.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/catalogue.h"

namespace quellon {

namespace fs = std::filesystem;

std::vector<std::string> listSavedGames(const GameData& game)
{
    std::vector<std::string> names;
    const std::string extension = kSavedGameExtension;
    std::error_code error;
    fs::directory_iterator entries(gamesDirectory(game), error);
    if (error)
        return names;
    // Stepped with an error code: a directory that fails half-way ends the
    // list instead of throwing.
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::directory_entry& entry = *entries;
        std::error_code typeError;
        if (!entry.is_regular_file(typeError))
            continue;
        const std::string file = entry.path().filename().string();
        if (file.size() <= extension.size() || !file.ends_with(extension))
            continue;
        std::string name = file.substr(0, file.size() - extension.size());
        if (isSafeGameName(name))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

Message overwriteQuestion(std::string_view name)
{
    const std::string n(name);
    return {MessageCode::Question, "Spiel " + n + " existiert bereits. \u00dcberschreiben?",
            "Game " + n + " already exists. Overwrite?"};
}

Message saveFailureMessage(std::string_view name)
{
    // "errorSave" and "occured" are the game's own words.
    const std::string quoted = "\"" + std::string(name) + "\"";
    return {MessageCode::Notice,
            "Fehler beim speichern von Spiel " + quoted + ". Datentr\u00e4ger voll oder nicht beschreibbar.",
            "An errorSave occured while saving game " + quoted + ". Drive full or not writable."};
}

LoadDialogTexts loadDialogTexts(int language)
{
    if (language == kLanguageGerman)
        return {"Welches Spiel soll geladen werden?", "Kein Spiel laden", "Kein Spiel vorhanden"};
    return {"What game shall be loaded?", "Don't load any game", "No game available"};
}

SaveDialogTexts saveDialogTexts(int language)
{
    if (language == kLanguageGerman)
        return {"Unter welchem Namen soll ich das Spiel speichern?", "Name akzeptieren"};
    return {"Enter the name of the game to save!", "Accept name"};
}

}  // namespace quellon
