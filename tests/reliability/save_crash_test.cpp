// A saved game holds months of progress: a save killed at any moment, a disk
// that fills up or refuses writes must leave the old game whole.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/catalogue.h"

namespace fs = std::filesystem;
using namespace quellon;

namespace {

using Bytes = std::vector<uint8_t>;

// Two saved games that differ in every byte, so that any mix of the two, any
// shorter file and any stale temporary content is told apart from both.
Bytes gameBytes(int salt)
{
    Bytes bytes(kSavedGameSize);
    for (size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<uint8_t>(k * 7 + static_cast<size_t>(salt));
    return bytes;
}

void setProgress(GameData& game, const Bytes& bytes)
{
    std::copy(bytes.begin(), bytes.end(), game.progressTable.begin() + 1);
}

Bytes readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/quellon-save-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir()
    {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The .zql files of a games directory: the temporary file of a save is not one.
std::vector<std::string> gameFiles(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".zql")
            names.push_back(entry.path().filename().string());
    return names;
}

int waitExit(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TEST(CrashSafeSave, KilledAtAnyMomentLeavesTheOldOrTheNewGame)
{
    TempDir dir;
    GameData game;
    game.gamesDir = dir.path().string();
    const Bytes oldGame = gameBytes(0), newGame = gameBytes(1);
    const fs::path file = dir.path() / "evening.zql";
    setProgress(game, oldGame);
    ASSERT_TRUE(writeSavedGame(game, "evening"));

    // How long one save takes here, so that the kills spread over whole saves.
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < 5; ++k)
        ASSERT_TRUE(writeSavedGame(game, "evening"));
    const auto saveMicros = std::max<int64_t>(
        20,
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count() / 5);

    constexpr int kKills = 240;
    const auto deadline = start + std::chrono::seconds(20);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int64_t> delay(0, 3 * saveMicros);
    int sawOld = 0, sawNew = 0, killedMidWrite = 0, kills = 0;
    for (; kills < kKills; ++kills) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the two games in turn until killed.
            close(ready[0]);
            const char go = 1;
            if (write(ready[1], &go, 1) != 1)
                _exit(2);
            for (bool which = true;; which = !which) {
                setProgress(game, which ? newGame : oldGame);
                if (!writeSavedGame(game, "evening"))
                    _exit(3);
            }
        }
        close(ready[1]);
        char go = 0;
        ASSERT_EQ(read(ready[0], &go, 1), 1);
        close(ready[0]);
        usleep(static_cast<useconds_t>(delay(random)));
        kill(child, SIGKILL);
        ASSERT_EQ(waitExit(child), 128 + SIGKILL) << "the saving child stopped by itself";

        const Bytes onDisk = readAll(file);
        ASSERT_TRUE(onDisk == oldGame || onDisk == newGame)
            << "after kill " << kills << " the saved game holds " << onDisk.size() << " other bytes";
        (onDisk == oldGame ? sawOld : sawNew)++;
        if (fs::exists(dir.path() / savedGameTempName("evening")))
            ++killedMidWrite;
        ASSERT_EQ(gameFiles(dir.path()), std::vector<std::string>{"evening.zql"});
        if (std::chrono::steady_clock::now() > deadline && kills >= 200)
            break;
    }
    EXPECT_GE(kills, 200);
    // Both games turned up, so the kills really fell among the saves.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    std::printf("[ figures  ] %d kills, one save %lld us: old game %d, new game %d, killed while writing %d\n", kills,
                static_cast<long long>(saveMicros), sawOld, sawNew, killedMidWrite);

    // A leftover temporary file does not stand in the way of the next save.
    setProgress(game, newGame);
    ASSERT_TRUE(writeSavedGame(game, "evening"));
    EXPECT_EQ(readAll(file), newGame);
    EXPECT_FALSE(fs::exists(dir.path() / savedGameTempName("evening")));
}

TEST(CrashSafeSave, FirstSaveKilledLeavesNoGameOrTheWholeGame)
{
    // With no old game the only other outcome is no file at all: never a
    // partly written one that would load as damaged progress.
    const Bytes bytes = gameBytes(6);
    std::mt19937 random(7);
    int absent = 0, whole = 0;
    for (int round = 0; round < 40; ++round) {
        TempDir dir;
        GameData game;
        game.gamesDir = dir.path().string();
        setProgress(game, bytes);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            writeSavedGame(game, "first");
            pause();
            _exit(0);
        }
        usleep(static_cast<useconds_t>(std::uniform_int_distribution<int>(0, 3000)(random)));
        kill(child, SIGKILL);
        ASSERT_EQ(waitExit(child), 128 + SIGKILL);
        const fs::path file = dir.path() / "first.zql";
        if (!fs::exists(file)) {
            ++absent;
            continue;
        }
        ASSERT_EQ(readAll(file), bytes) << "round " << round;
        ++whole;
        GameData loaded;
        loaded.gamesDir = dir.path().string();
        ASSERT_TRUE(loadSavedGame(loaded, "first").ok);
    }
    std::printf("[ figures  ] 40 first saves killed: %d left no game, %d the whole game\n", absent, whole);
}

namespace {

// Runs `body` in a child process and returns its exit code: limits and mounts
// set there do not reach the test process.
template <typename Body>
int inChild(Body body)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    return waitExit(child);
}

// Exit codes of the children below.
constexpr int kIntact = 0;
constexpr int kReportedSuccess = 1;
constexpr int kOldGameChanged = 2;
constexpr int kTempLeft = 3;
constexpr int kCannotTest = 77;

int failedSaveKeepsOldGame(GameData& game, const fs::path& dir, const Bytes& oldGame)
{
    setProgress(game, gameBytes(5));
    if (writeSavedGame(game, "evening"))
        return kReportedSuccess;
    if (readAll(dir / "evening.zql") != oldGame)
        return kOldGameChanged;
    if (fs::exists(dir / savedGameTempName("evening")))
        return kTempLeft;
    return kIntact;
}

}  // namespace

TEST(CrashSafeSave, WriteFailureReportsFailureAndKeepsTheOldGame)
{
    // The file size limit makes write() fail part way, as a full disk would.
    for (rlim_t limit : {rlim_t{0}, rlim_t{100}, rlim_t{kSavedGameSize - 1}}) {
        TempDir dir;
        GameData game;
        game.gamesDir = dir.path().string();
        const Bytes oldGame = gameBytes(3);
        setProgress(game, oldGame);
        ASSERT_TRUE(writeSavedGame(game, "evening"));
        const int result = inChild([&] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit small{limit, limit};
            if (setrlimit(RLIMIT_FSIZE, &small) != 0)
                return kCannotTest;
            return failedSaveKeepsOldGame(game, dir.path(), oldGame);
        });
        EXPECT_EQ(result, kIntact) << "file size limit " << limit;
    }
}

TEST(CrashSafeSave, FullDiskAndReadOnlyDiskKeepTheOldGame)
{
    // A tiny file system of its own, in a private mount namespace: needs root
    // (CI runs as root); elsewhere the size-limit test above stands in.
    TempDir dir;
    const Bytes oldGame = gameBytes(9);
    const int full = inChild([&] {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=8k") != 0)
            return kCannotTest;
        GameData game;
        game.gamesDir = dir.path().string();
        setProgress(game, oldGame);
        if (!writeSavedGame(game, "evening"))
            return kCannotTest;
        // Fill what is left.
        std::ofstream filler(dir.path() / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        for (int k = 0; k < 16 && filler.write(block.data(), static_cast<std::streamsize>(block.size())); ++k)
            filler.flush();
        filler.close();
        return failedSaveKeepsOldGame(game, dir.path(), oldGame);
    });
    if (full == kCannotTest)
        GTEST_SKIP() << "no private mounts here (not root?)";
    EXPECT_EQ(full, kIntact) << "full disk";

    const int readOnly = inChild([&] {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
            return kCannotTest;
        GameData game;
        game.gamesDir = dir.path().string();
        setProgress(game, oldGame);
        if (!writeSavedGame(game, "evening"))
            return kCannotTest;
        // Read-only even for root, unlike a chmod.
        if (mount(nullptr, dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return kCannotTest;
        return failedSaveKeepsOldGame(game, dir.path(), oldGame);
    });
    EXPECT_EQ(readOnly, kIntact) << "read-only disk";
}

TEST(CrashSafeSave, GamesDirectoryThatCannotExistFailsCleanly)
{
    // A plain file where the games directory should be: no directory can be
    // made and no file created in it, for root as for anyone.
    TempDir dir;
    const fs::path blocker = dir.path() / "games";
    std::ofstream(blocker) << "not a directory";
    GameData game;
    game.programDir = dir.path().string() + "/";
    setProgress(game, gameBytes(2));
    EXPECT_FALSE(writeSavedGame(game, "evening"));
    EXPECT_FALSE(loadSavedGame(game, "evening").ok);
    EXPECT_TRUE(fs::is_regular_file(blocker));

    // The same one level further up: the program directory itself is a file.
    GameData nested;
    nested.programDir = (blocker / "").string();
    EXPECT_FALSE(writeSavedGame(nested, "evening"));
}

TEST(CrashSafeSave, LinkLeftWhereTheTemporaryFileGoesIsNotFollowed)
{
    // Someone left a link under the temporary name pointing at another file:
    // the save must neither write through it nor fail because of it.
    TempDir dir;
    const fs::path victim = dir.path() / "victim";
    std::ofstream(victim) << "keep me";
    fs::create_symlink(victim, dir.path() / savedGameTempName("evening"));
    GameData game;
    game.gamesDir = dir.path().string();
    const Bytes bytes = gameBytes(4);
    setProgress(game, bytes);
    ASSERT_TRUE(writeSavedGame(game, "evening"));
    EXPECT_EQ(readAll(dir.path() / "evening.zql"), bytes);
    std::ifstream in(victim);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "keep me");
}
