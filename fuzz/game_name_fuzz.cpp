// Any text as a saved-game name (typed in the save dialog, or read back from
// the settings): a name the game accepts must name a file directly inside the
// games directory, never somewhere else.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/catalogue.h"
#include "fuzz/check.h"

using namespace quellon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string name(reinterpret_cast<const char*>(data), size);
    GameData game;
    game.programDir = "/opt/quellon/";
    if (!isSafeGameName(name)) {
        // Unsafe names are refused before any file is touched.
        FUZZ_CHECK(!writeSavedGame(game, name));
        FUZZ_CHECK(!loadSavedGame(game, name).ok);
        return 0;
    }
    const std::filesystem::path path = savedGamePath(game, name);
    FUZZ_CHECK(path.parent_path() == std::filesystem::path("/opt/quellon/games"));
    FUZZ_CHECK(path.filename().string() == name + ".zql");
    FUZZ_CHECK(path.lexically_normal().parent_path() == std::filesystem::path("/opt/quellon/games"));
    return 0;
}
