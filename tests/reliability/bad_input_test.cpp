// Damaged catalogues and saved games from tests/data (made by make_corpus.py),
// met where a player meets them: the catalogue read by the start-up, which
// shows the fatal box in the player's language and ends the game, and saved
// games loaded by the game session, whose outcome the windows carry out.
// Each gives a clear refusal or the documented reading, never a crash, a
// hang or a piece off the board.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "engine/catalogue.h"
#include "engine/setup.h"
#include "session/game_session.h"
#include "storage/startup.h"
#include "ui/dialog_look.h"
#include "tests/support/test_quellon.h"

namespace fs = std::filesystem;
using namespace quellon;
using quellon::testing::gridOf;
using quellon::testing::layoutOf;
using quellon::testing::squareQuellon;

namespace {

const fs::path kData = QUELLON_TEST_DATA;

std::vector<uint8_t> readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/quellon-bad-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir()
    {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    const fs::path& path() const { return path_; }
    std::string dir() const { return path_.string() + "/"; }

private:
    fs::path path_;
};

// Writes down what the start-up shows; no question is expected.
class RecordingMessages : public Messages {
public:
    int showCode(MessageCode code) override
    {
        shown << QString::number(static_cast<int>(code));
        return static_cast<int>(DialogResult::Ok);
    }
    int showText(MessageCode, const QString& text) override
    {
        shown << text;
        return static_cast<int>(DialogResult::Ok);
    }
    void showFatal(const QString& text) override { fatal << text; }
    QStringList shown;
    QStringList fatal;
};

// The start-up's catalogue step from `programDir`: false when the game ends.
bool startFrom(GameSession& session, const std::string& programDir, int language, RecordingMessages& messages)
{
    session.game().programDir = programDir;
    return loadCatalogueOrReport(session.game(), language, messages);
}

const char* abortedText(int language)
{
    return language == kLanguageGerman ? "Programm wird abgebrochen." : "Program aborted.";
}

void expectPiecesOnBoard(const Board& board)
{
    for (int n = 1; n <= kPieceCount; ++n)
        EXPECT_TRUE(board.inBounds(board.piece(n).x, board.piece(n).y, board.piece(n).orientation)) << "piece " << n;
}

// The set-up a command showed: whether it offered help, nothing when the
// board was not laid out afresh.
std::optional<bool> setUpShown(const SessionOutcome& outcome)
{
    for (const SessionAction& action : outcome)
        if (action.kind == SessionAction::Kind::ShowSetUp)
            return action.helpOffered;
    return std::nullopt;
}

std::vector<SessionAction> messagesShown(const SessionOutcome& outcome)
{
    std::vector<SessionAction> shown;
    for (const SessionAction& action : outcome)
        if (action.kind == SessionAction::Kind::ShowMessage)
            shown.push_back(action);
    return shown;
}

struct CatalogueCase {
    const char* file;
    CatalogueStatus status;
    int count;  // N for Ok, the bad Quellon for OffBoard
};

}  // namespace

TEST(BadCatalogue, EveryDamagedFileEndsTheStartOrIsPlayable)
{
    const CatalogueCase cases[] = {
        {"empty.dat", CatalogueStatus::Empty, 0},
        {"partial_23.dat", CatalogueStatus::Empty, 0},
        {"one_record.dat", CatalogueStatus::Ok, 1},
        {"ten_and_5_bytes.dat", CatalogueStatus::Ok, 10},
        {"off_board_third.dat", CatalogueStatus::OffBoard, 3},
        {"orientation_16.dat", CatalogueStatus::OffBoard, 1},
        {"orientation_255.dat", CatalogueStatus::OffBoard, 1},
        {"all_ff.dat", CatalogueStatus::OffBoard, 1},
        {"text.dat", CatalogueStatus::OffBoard, 1},
        {"board_edge.dat", CatalogueStatus::Ok, 1},
        {"past_edge.dat", CatalogueStatus::OffBoard, 1},
    };
    for (const CatalogueCase& c : cases) {
        for (const int language : {kLanguageUnset, kLanguageGerman}) {
            SCOPED_TRACE(std::string(c.file) + " in language " + std::to_string(language));
            TempDir dir;
            fs::copy_file(kData / "catalogue" / c.file, dir.path() / kCatalogueFileName);
            {
                GameData game;
                game.programDir = dir.dir();
                EXPECT_EQ(loadCatalogue(game).status, c.status);
            }
            GameSession session;
            RecordingMessages messages;
            const bool started = startFrom(session, dir.dir(), language, messages);
            EXPECT_TRUE(messages.shown.isEmpty());
            if (c.status != CatalogueStatus::Ok) {
                // One fatal box in the player's language, and the game ends.
                EXPECT_FALSE(started);
                EXPECT_EQ(session.game().quellonCount, 0);
                ASSERT_EQ(messages.fatal.size(), 1);
                const std::string text = messages.fatal.first().toStdString();
                EXPECT_NE(text.find(abortedText(language)), std::string::npos) << text;
                if (c.status == CatalogueStatus::OffBoard) {
                    EXPECT_NE(text.find("Quellon " + std::to_string(c.count) + " "), std::string::npos) << text;
                }
                continue;
            }
            EXPECT_TRUE(started);
            EXPECT_TRUE(messages.fatal.isEmpty());
            ASSERT_EQ(session.game().quellonCount, c.count);
            // Every accepted Quellon lays out on the board as stored.
            for (int n = 1; n <= c.count; ++n) {
                session.game().currentQuellon = n;
                EXPECT_EQ(setUpShown(session.setUpCurrent()), true) << "Quellon " << n;
                EXPECT_EQ(session.board().targetGrid, gridOf(session.game().catalogue[static_cast<size_t>(n)]));
                expectPiecesOnBoard(session.board());
            }
        }
    }
}

TEST(BadCatalogue, AcceptedEdgeRecordIsSolvedOnTheBoardsEdge)
{
    TempDir dir;
    fs::copy_file(kData / "catalogue" / "board_edge.dat", dir.path() / kCatalogueFileName);
    GameSession session;
    RecordingMessages messages;
    ASSERT_TRUE(startFrom(session, dir.dir(), kLanguageEnglish, messages));
    session.game().currentQuellon = 1;
    session.setUpCurrent();
    // Help until the whole Quellon is laid: the pieces the player sees at
    // their spots reach the last column and the last row.
    while (!session.help().empty())
        expectPiecesOnBoard(session.board());
    const Board& board = session.board();
    EXPECT_EQ(session.game().progressTable[1], kDroppedValue);
    EXPECT_EQ(board.layoutGrid, gridOf(session.game().catalogue[1]));
    EXPECT_EQ(board.layoutGrid, board.targetGrid);
    bool lastColumn = false, lastRow = false;
    for (int y = 0; y < kBoardRows; ++y)
        lastColumn = lastColumn || board.layoutGrid[static_cast<size_t>(gridIndex(kBoardColumns - 1, y))] != 0;
    for (int x = 0; x < kBoardColumns; ++x)
        lastRow = lastRow || board.layoutGrid[static_cast<size_t>(gridIndex(x, kBoardRows - 1))] != 0;
    EXPECT_TRUE(lastColumn);
    EXPECT_TRUE(lastRow);
}

TEST(BadCatalogue, OversizedFileReadsTheFirst950)
{
    TempDir dir;
    std::vector<uint8_t> bytes;
    const PuzzleRecord square = squareQuellon();
    for (int n = 0; n < kMaxQuellons + 1; ++n)
        for (const PieceState& piece : square.pieces)
            bytes.insert(bytes.end(), {piece.x, piece.y, piece.orientation});
    // Past the 950th record nothing is looked at, not even garbage.
    bytes.insert(bytes.end(), 200000, uint8_t{0xff});
    std::ofstream(dir.path() / kCatalogueFileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    GameSession session;
    RecordingMessages messages;
    ASSERT_TRUE(startFrom(session, dir.dir(), kLanguageEnglish, messages));
    EXPECT_TRUE(messages.fatal.isEmpty());
    EXPECT_EQ(session.game().quellonCount, kMaxQuellons);
    EXPECT_EQ(session.game().catalogue[kMaxQuellons], square);
}

TEST(BadCatalogue, SomethingOtherThanAFileIsMissing)
{
    // A directory, a pipe nobody writes to (must not hang) and a dangling link.
    TempDir asDirectory, asPipe, asLink;
    fs::create_directory(asDirectory.path() / kCatalogueFileName);
    ASSERT_EQ(mkfifo((asPipe.path() / kCatalogueFileName).c_str(), 0644), 0);
    fs::create_symlink(asLink.path() / "gone", asLink.path() / kCatalogueFileName);
    for (const TempDir* dir : {&asDirectory, &asPipe, &asLink}) {
        GameSession session;
        RecordingMessages messages;
        EXPECT_FALSE(startFrom(session, dir->dir(), kLanguageUnset, messages)) << dir->path();
        EXPECT_EQ(messages.fatal, QStringList{QStringLiteral("Can't find file ZQLN.DAT. Program aborted.")})
            << dir->path();
    }
}

namespace {

// A game of ten square Quellons with progress of its own, unsaved, on
// Quellon 1, whose saved games lie in `gamesDir`.
void startGame(GameSession& session, const fs::path& gamesDir, uint8_t progress)
{
    session.game() = quellon::testing::gameWith(10);
    session.game().gamesDir = gamesDir.string();
    session.game().progressTable.fill(progress);
    session.game().currentQuellon = 1;
    session.game().gameName = "before";
    session.setUpCurrent();
    session.setUnsavedProgress(true);
}

// Pieces 1..count stand at their solution spots, the others do not.
int solvedPrefix(const Board& board, const PuzzleRecord& solution)
{
    int count = 0;
    while (count < kPieceCount && board.piece(count + 1) == solution.pieces[static_cast<size_t>(count)])
        ++count;
    for (int k = count + 1; k <= kPieceCount; ++k)
        EXPECT_FALSE(board.piece(k) == solution.pieces[static_cast<size_t>(k - 1)]) << "piece " << k;
    return count;
}

}  // namespace

// Loaded from the load dialog: the file's first 950 bytes are the progress,
// missing Quellons start afresh, and every Quellon of the game lays out as
// its progress byte says.
TEST(BadSavedGame, EveryOddLengthLoadsAsDocumented)
{
    for (const char* file : {"empty.zql", "one_byte.zql", "short_100.zql", "every_value.zql", "long_1000.zql",
                             "high_bits.zql", "text.zql"}) {
        SCOPED_TRACE(file);
        TempDir dir;
        const std::string name = fs::path(file).stem().string();
        fs::copy_file(kData / "games" / file, dir.path() / file);
        const std::vector<uint8_t> bytes = readBytes(dir.path() / file);
        GameSession session;
        startGame(session, dir.path(), 0x55);
        const SessionOutcome outcome = session.loadGame(name);
        EXPECT_TRUE(messagesShown(outcome).empty());
        EXPECT_TRUE(setUpShown(outcome).has_value());
        EXPECT_FALSE(session.unsavedProgress());
        const GameData& game = session.game();
        EXPECT_EQ(game.gameName, name);
        EXPECT_EQ(game.quellonCount, 10);
        for (size_t k = 1; k <= kSavedGameSize; ++k)
            ASSERT_EQ(game.progressTable[k], k <= bytes.size() ? bytes[k - 1] : 0) << "Quellon " << k;
        for (int n = 1; n <= game.quellonCount; ++n) {
            SCOPED_TRACE("Quellon " + std::to_string(n));
            session.game().currentQuellon = n;
            const uint8_t progress = game.progressTable[static_cast<size_t>(n)];
            EXPECT_EQ(setUpShown(session.setUpCurrent()), !isFinished(progress));
            EXPECT_EQ(session.titleProgress(), progress);
            EXPECT_EQ(session.board().layoutGrid, layoutOf(session.board()));
            if (!isFinished(progress)) {
                EXPECT_EQ(solvedPrefix(session.board(), squareQuellon()), 2 * helpLevel(progress));
            }
            expectPiecesOnBoard(session.board());
        }
    }
}

TEST(BadSavedGame, HugeFileTakesTheFirst950Bytes)
{
    TempDir dir;
    std::vector<uint8_t> bytes(1 << 20);
    for (size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<uint8_t>(k * 13);
    std::ofstream(dir.path() / "huge.zql", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    GameSession session;
    startGame(session, dir.path(), 0);
    EXPECT_TRUE(messagesShown(session.loadGame("huge")).empty());
    const GameData& game = session.game();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + kSavedGameSize, game.progressTable.begin() + 1));
}

// The notice names the game in the player's language; the progress, its
// unsaved flag (the save offer still comes) and the board stay as they were.
TEST(BadSavedGame, UnreadableGameGivesTheMessageAndKeepsProgress)
{
    TempDir dir;
    fs::create_directory(dir.path() / "folder.zql");
    ASSERT_EQ(mkfifo((dir.path() / "pipe.zql").c_str(), 0644), 0);
    fs::create_symlink(dir.path() / "gone.zql", dir.path() / "dangling.zql");
    for (const int language : {kLanguageEnglish, kLanguageGerman}) {
        for (const char* name : {"folder", "pipe", "dangling", "absent", "../escape", "", "a/b"}) {
            SCOPED_TRACE(std::string(name) + " in language " + std::to_string(language));
            GameSession session;
            startGame(session, dir.path(), 9);
            session.settings().language = language;
            const Board before = session.board();
            const SessionOutcome outcome = session.loadGame(name);
            const std::vector<SessionAction> shown = messagesShown(outcome);
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].code, MessageCode::Notice);
            const std::string said =
                language == kLanguageGerman ? "Fehler beim Laden des Spiels " : "Error occured while loading file ";
            EXPECT_EQ(shown[0].text, said + name);
            EXPECT_FALSE(setUpShown(outcome).has_value());
            EXPECT_TRUE(session.game().gameName.empty());
            EXPECT_TRUE(session.unsavedProgress());
            EXPECT_TRUE(std::all_of(session.game().progressTable.begin(), session.game().progressTable.end(),
                                    [](uint8_t p) { return p == 9; }));
            for (int n = 1; n <= kPieceCount; ++n)
                EXPECT_EQ(session.board().piece(n), before.piece(n)) << "piece " << n;
        }
    }
}

TEST(BadSavedGame, EveryByteValueNeverLaysMoreThanEightPieces)
{
    // Every value a damaged file can hold, with help asked for five times,
    // with no piece in hand and with each of the eight held.
    const PuzzleRecord solution = squareQuellon();
    GameData game;
    game.quellonCount = 1;
    game.catalogue[1] = solution;
    Board board;
    PieceRandom random(11);
    for (int value = 0; value < 256; ++value) {
        for (int held = 0; held <= kPieceCount; ++held) {
            SCOPED_TRACE("progress byte " + std::to_string(value) + ", held piece " + std::to_string(held));
            game.progressTable[1] = static_cast<uint8_t>(value);
            const bool finished = (value & kFinishedBit) != 0;
            const int level = helpLevel(static_cast<uint8_t>(value));
            ASSERT_GE(level, 0);
            ASSERT_LE(level, finished ? kDroppedLevel : kDroppedLevel - 1);

            ASSERT_EQ(setUpQuellon(board, game, random), !finished);
            EXPECT_EQ(game.progressTable[1], value);
            EXPECT_EQ(solvedPrefix(board, solution), finished ? 0 : 2 * level);
            EXPECT_EQ(board.layoutGrid, layoutOf(board));
            expectPiecesOnBoard(board);
            if (held != 0) {
                board.liftPiece(held);
                board.selectedPiece = static_cast<uint8_t>(held);
            }

            int previous = finished ? -1 : level;
            for (int press = 0; press < 5; ++press) {
                const uint8_t before = game.progressTable[1];
                const HelpResult help = giveHelp(board, game, random);
                if (!help.given) {
                    EXPECT_TRUE(finished || previous == kDroppedLevel);
                    EXPECT_EQ(game.progressTable[1], before);
                } else {
                    ASSERT_FALSE(finished);
                    EXPECT_EQ(help.level, previous + 1);
                    ASSERT_LE(help.level, kDroppedLevel);
                    EXPECT_EQ(game.progressTable[1], help.dropped() ? kDroppedValue : help.level);
                    EXPECT_EQ(solvedPrefix(board, solution), 2 * help.level);
                    EXPECT_EQ(board.selectedPiece, 0);
                    previous = help.level;
                }
                EXPECT_EQ(board.layoutGrid, layoutOf(board));
                expectPiecesOnBoard(board);
            }
            if (::testing::Test::HasFailure())
                return;
        }
    }
}
