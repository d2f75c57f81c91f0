// The list of saved games and the texts around saving.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/catalogue.h"
#include "engine/saved_games.h"

using namespace quellon;
namespace fs = std::filesystem;

namespace {

class SavedGamesList : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("quellon-list-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "games");
        game_.programDir = dir_.string() + "/";
    }
    void TearDown() override { fs::remove_all(dir_); }
    void touch(const std::string& file) { std::ofstream(dir_ / "games" / file) << "x"; }

    fs::path dir_;
    GameData game_;
};

}  // namespace

TEST_F(SavedGamesList, NamesWithoutExtensionSortedByName)
{
    touch("week.zql");
    touch("evening.zql");
    touch("notes.txt");
    touch(savedGameTempName("week"));  // an unfinished save
    touch(".zql");                     // no name: could never load
    fs::create_directories(dir_ / "games" / "folder.zql");
    EXPECT_EQ(listSavedGames(game_), (std::vector<std::string>{"evening", "week"}));
}

TEST_F(SavedGamesList, KeepsBlanksAndShowsWrittenGames)
{
    game_.quellonCount = 3;
    ASSERT_TRUE(writeSavedGame(game_, "late "));
    EXPECT_EQ(listSavedGames(game_), (std::vector<std::string>{"late "}));
}

TEST_F(SavedGamesList, MissingDirectoryGivesNoGames)
{
    fs::remove_all(dir_ / "games");
    EXPECT_TRUE(listSavedGames(game_).empty());
}

TEST(SaveTexts, QuestionAndFailureInBothLanguages)
{
    const Message question = overwriteQuestion("evening");
    EXPECT_EQ(question.code, MessageCode::Question);
    EXPECT_EQ(question.german, "Spiel evening existiert bereits. Überschreiben?");
    EXPECT_EQ(question.english, "Game evening already exists. Overwrite?");
    const Message failure = saveFailureMessage("evening");
    EXPECT_EQ(failure.code, MessageCode::Notice);
    EXPECT_EQ(failure.german, "Fehler beim speichern von Spiel \"evening\". Datenträger voll oder nicht beschreibbar.");
    EXPECT_EQ(failure.english, "An errorSave occured while saving game \"evening\". Drive full or not writable.");
    EXPECT_EQ(loadDialogTexts(1).noGameLine, "Kein Spiel vorhanden");
    EXPECT_EQ(loadDialogTexts(0).what, "What game shall be loaded?");
    EXPECT_EQ(saveDialogTexts(-1).ask, "Enter the name of the game to save!");
}
