// The two files of the game: the catalogue and the saved games.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

#include "engine/catalogue.h"
#include "tests/support/test_quellon.h"

using namespace quellon;
using namespace quellon::testing;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> recordBytes(const PuzzleRecord& record)
{
    std::vector<uint8_t> bytes;
    for (const PieceState& piece : record.pieces)
        bytes.insert(bytes.end(), {piece.x, piece.y, piece.orientation});
    return bytes;
}

std::vector<uint8_t> catalogueBytes(int records, int extraBytes = 0)
{
    std::vector<uint8_t> bytes;
    for (int k = 0; k < records; ++k) {
        const auto record = recordBytes(squareQuellon(20 + k % 30, 10 + k % 20));
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    bytes.insert(bytes.end(), static_cast<size_t>(extraBytes), uint8_t{7});
    return bytes;
}

std::vector<uint8_t> readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct FileFixture : ::testing::Test {
    fs::path dir;
    GameData game;

    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("quellon-test-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "games");
        game.programDir = dir.string() + "/";
        game.quellonCount = 10;
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path gameFile(const std::string& name) const { return dir / "games" / (name + ".zql"); }
};

}  // namespace

TEST(CatalogueParse, LengthRules)
{
    GameData game;
    EXPECT_TRUE(parseCatalogue(game, catalogueBytes(950, 24 * 3 + 5)).ok());
    EXPECT_EQ(game.quellonCount, 950);
    EXPECT_TRUE(parseCatalogue(game, catalogueBytes(10, 5)).ok());
    EXPECT_EQ(game.quellonCount, 10);
    EXPECT_EQ(game.catalogue[10], squareQuellon(29, 19));
    EXPECT_EQ(parseCatalogue(game, catalogueBytes(0)).status, CatalogueStatus::Empty);
    EXPECT_EQ(parseCatalogue(game, catalogueBytes(0, 23)).status, CatalogueStatus::Empty);
}

TEST(CatalogueParse, RecordLeavingTheBoardRefusesTheFileAndIsNamed)
{
    GameData game;
    auto bytes = catalogueBytes(5);
    bytes[2 * 24 + 3 * 4] = 89;  // Quellon 3, piece 5: orientation 0 at x 89
    const CatalogueResult result = parseCatalogue(game, bytes);
    EXPECT_EQ(result.status, CatalogueStatus::OffBoard);
    EXPECT_EQ(result.badQuellon, 3);
    const Message message = catalogueFailureMessage(result);
    EXPECT_NE(message.english.find("Quellon 3"), std::string::npos);
    EXPECT_NE(message.german.find("Quellon 3"), std::string::npos);

    bytes = catalogueBytes(5);
    bytes[4 * 24 + 2] = 16;  // Quellon 5, piece 1: no such orientation
    EXPECT_EQ(parseCatalogue(game, bytes).badQuellon, 5);
}

TEST_F(FileFixture, MissingCatalogueGivesTheFatalTextsInBothLanguages)
{
    const CatalogueResult result = loadCatalogue(game);
    EXPECT_EQ(result.status, CatalogueStatus::Missing);
    const Message message = catalogueFailureMessage(result);
    EXPECT_EQ(message.text(1), "Datei ZQLN.DAT konnte nicht gefunden werden. Programm wird abgebrochen.");
    EXPECT_EQ(message.text(-1), "Can't find file ZQLN.DAT. Program aborted.");
    fs::create_directories(dir / "zqln.dat");  // a directory is no catalogue
    EXPECT_EQ(loadCatalogue(game).status, CatalogueStatus::Missing);
}

TEST_F(FileFixture, CatalogueIsReadFromTheProgramDirectory)
{
    writeBytes(dir / "zqln.dat", catalogueBytes(12));
    EXPECT_TRUE(loadCatalogue(game).ok());
    EXPECT_EQ(game.quellonCount, 12);
}

TEST_F(FileFixture, SavedGameRoundTripIsAlways950Bytes)
{
    for (int n = 1; n <= kMaxQuellons; ++n)
        game.progressTable[static_cast<size_t>(n)] = static_cast<uint8_t>(n % 13);
    ASSERT_TRUE(writeSavedGame(game, "evening"));
    const auto bytes = readBytes(gameFile("evening"));
    ASSERT_EQ(bytes.size(), 950u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[949], 950 % 13);

    GameData loaded;
    loaded.programDir = game.programDir;
    loaded.progressTable.fill(5);
    ASSERT_TRUE(loadSavedGame(loaded, "evening").ok);
    EXPECT_TRUE(
        std::equal(loaded.progressTable.begin() + 1, loaded.progressTable.end(), game.progressTable.begin() + 1));
    EXPECT_FALSE(fs::exists(dir / "games" / savedGameTempName("evening")));
}

TEST_F(FileFixture, ShortAndLongSavedGames)
{
    writeBytes(gameFile("short"), std::vector<uint8_t>(100, 9));
    game.progressTable.fill(3);
    ASSERT_TRUE(loadSavedGame(game, "short").ok);
    EXPECT_EQ(game.progressTable[100], 9);
    EXPECT_EQ(game.progressTable[101], 0);
    EXPECT_EQ(game.progressTable[950], 0);
    EXPECT_EQ(game.quellonCount, 10);

    std::vector<uint8_t> bytes(1000, 8);
    bytes[950] = 1;
    writeBytes(gameFile("long"), bytes);
    ASSERT_TRUE(loadSavedGame(game, "long").ok);
    EXPECT_EQ(game.progressTable[950], 8);

    writeBytes(gameFile("empty"), {});
    ASSERT_TRUE(loadSavedGame(game, "empty").ok);
    EXPECT_EQ(game.progressTable[1], 0);
}

TEST_F(FileFixture, MissingSavedGameReportsAndKeepsTheProgress)
{
    game.gameName = "gone";
    game.progressTable[4] = 11;
    const LoadResult result = loadSavedGame(game, "gone");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure.text(1), "Fehler beim Laden des Spiels gone");
    EXPECT_EQ(result.failure.text(2), "Error occured while loading file gone");
    EXPECT_TRUE(game.gameName.empty());
    EXPECT_EQ(game.progressTable[4], 11);

    // Loading the current game by its own name still names it in the message.
    game.gameName = "yesterday evening";
    const LoadResult own = loadSavedGame(game, game.gameName);
    EXPECT_EQ(own.failure.text(2), "Error occured while loading file yesterday evening");
}

TEST_F(FileFixture, FailedWriteLeavesTheOldGameIntact)
{
    game.progressTable.fill(8);
    ASSERT_TRUE(writeSavedGame(game, "week"));
    // Block the temporary file with a directory of the same name.
    fs::create_directories(dir / "games" / savedGameTempName("week") / "x");
    game.progressTable.fill(1);
    EXPECT_FALSE(writeSavedGame(game, "week"));
    EXPECT_EQ(readBytes(gameFile("week")), std::vector<uint8_t>(950, 8));

    // A games folder that is a plain file: nothing can be created.
    fs::remove_all(dir / "games");
    writeBytes(dir / "games", {1, 2, 3});
    EXPECT_FALSE(writeSavedGame(game, "week"));
    EXPECT_EQ(readBytes(dir / "games"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(FileFixture, WriteErrorIsAFailureNotASuccess)
{
    game.progressTable.fill(8);
    ASSERT_TRUE(writeSavedGame(game, "full"));
    // A file size limit below 950 bytes makes the write itself fail, as a
    // full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    game.progressTable.fill(2);
    const bool written = writeSavedGame(game, "full");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(gameFile("full")), std::vector<uint8_t>(950, 8));
    EXPECT_FALSE(fs::exists(dir / "games" / savedGameTempName("full")));
}

TEST_F(FileFixture, LeftoverTemporaryLinkIsNeverWrittenThrough)
{
    writeBytes(dir / "victim", {1, 2, 3});
    fs::create_symlink(dir / "victim", dir / "games" / savedGameTempName("mine"));
    ASSERT_TRUE(writeSavedGame(game, "mine"));
    EXPECT_EQ(readBytes(dir / "victim"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(readBytes(gameFile("mine")).size(), 950u);
}

// Every name the file system takes as "<name>.zql" can be saved and loaded,
// up to its limit of 255 bytes; beyond it the save fails and leaves nothing.
TEST_F(FileFixture, NamesUpToTheFileSystemsLimitSave)
{
    const std::string umlauts = [] {
        std::string text;
        for (int k = 0; k < 125; ++k)
            text += "\u00fc";  // two bytes each
        return text + "x";
    }();
    ASSERT_EQ(umlauts.size(), 251u);
    for (const std::string& name : {std::string(247, 'a'), std::string(250, 'b'), std::string(251, 'c'), umlauts}) {
        game.progressTable.fill(static_cast<uint8_t>(name.size() % 13));
        ASSERT_TRUE(writeSavedGame(game, name)) << name.size() << " bytes";
        GameData loaded;
        loaded.programDir = game.programDir;
        ASSERT_TRUE(loadSavedGame(loaded, name).ok);
        EXPECT_EQ(loaded.progressTable[950], name.size() % 13);
    }
    EXPECT_FALSE(writeSavedGame(game, std::string(252, 'd')));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "games"), fs::directory_iterator()), 4);
}

TEST_F(FileFixture, NamesThatLeaveTheGamesDirectoryAreRefused)
{
    for (const std::string& name :
         std::vector<std::string>{"", ".", "..", "../escape", "a/b", "a\\b", std::string("nul\0x", 5)}) {
        EXPECT_FALSE(isSafeGameName(name)) << name;
        EXPECT_FALSE(writeSavedGame(game, name)) << name;
        EXPECT_FALSE(loadSavedGame(game, name).ok) << name;
    }
    EXPECT_FALSE(fs::exists(dir / "escape.zql"));
    EXPECT_TRUE(isSafeGameName("Sunday evening"));
    EXPECT_TRUE(isSafeGameName("..hidden"));
}
