// The command-line tool as a user runs it: the shipped catalogue validates,
// damaged files made here each get their own message and a non-zero exit,
// and bad command lines are refused without a crash.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <iterator>
#include <string>

#include "engine/catalogue.h"
#include "engine/silhouette.h"
#include "tools/catalogue/generator.h"
#include "tools/catalogue/validator.h"
#include "tests/tools/shipped_figures.h"

namespace quellon::catalogue {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string output;  // stdout and stderr together
};

ToolRun runTool(const std::string& arguments)
{
    ToolRun run;
    const std::string command = std::string(QUELLON_CATALOGUE_EXE) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer;
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class CatalogueCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("quellon-catalogue-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const fs::path path = dir_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    fs::path dir_;
};

TEST_F(CatalogueCommand, ShippedCatalogueHolds950CleanQuellons)
{
    const ToolRun run = runTool(std::string("validate ") + QUELLON_SHIPPED_CATALOGUE);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("950 Quellons, clean"), std::string::npos) << run.output;

    // And the game itself takes all of it.
    std::ifstream in(QUELLON_SHIPPED_CATALOGUE, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto game = std::make_unique<GameData>();
    EXPECT_TRUE(parseCatalogue(*game, bytes).ok());
    EXPECT_EQ(game->quellonCount, kMaxQuellons);
}

// The shipped file is exactly what the documented command writes, so a change
// to the composer, the solver or the figures shows up here until the file is
// made again.
TEST_F(CatalogueCommand, ShippedCatalogueIsWhatSeedOneComposes)
{
    const std::string path = (dir_ / "seed1.dat").string();
    const ToolRun run =
        runTool(std::string("generate --count 950 --seed 1 --figures ") + QUELLON_FIGURES_FILE + " -o " + path);
    ASSERT_EQ(run.status, 0) << run.output;
    std::ifstream made(path, std::ios::binary), shipped(QUELLON_SHIPPED_CATALOGUE, std::ios::binary);
    const std::string madeBytes((std::istreambuf_iterator<char>(made)), std::istreambuf_iterator<char>());
    const std::string shippedBytes((std::istreambuf_iterator<char>(shipped)), std::istreambuf_iterator<char>());
    EXPECT_EQ(madeBytes.size(), 950u * 24u);
    EXPECT_TRUE(madeBytes == shippedBytes) << "data/zqln.dat differs from: quellon-catalogue generate --count 950 "
                                              "--seed 1 --figures data/figures/figures.txt";
}

TEST_F(CatalogueCommand, DamagedFilesEachGetTheirOwnMessage)
{
    const std::vector<PuzzleRecord> hand = {shippedFigure("house"), shippedFigure("boat")};
    struct Case {
        const char* name;
        std::vector<PuzzleRecord> records;
        size_t extraBytes;
        const char* message;
    };
    PuzzleRecord offBoard = hand[0];
    offBoard.pieces[3].y = 2;
    PuzzleRecord overlapping = hand[1];
    overlapping.pieces[1] = overlapping.pieces[0];
    const Case cases[] = {
        {"empty.dat", {}, 0, "the file is empty"},
        {"offboard.dat", {hand[0], offBoard}, 0, "Quellon 2: piece 4 at (43, 2) leaves the board"},
        {"overlap.dat", {hand[0], overlapping}, 0, "Quellon 2: piece 2 does not fit"},
        {"duplicate.dat", {hand[0], hand[1], hand[0]}, 0, "Quellon 3: the same silhouette as Quellon 1"},
        {"trailing.dat", {hand[0], hand[1]}, 5, "5 trailing bytes after the last whole record"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = bytesOf(c.records);
        bytes.resize(bytes.size() + c.extraBytes, 7);
        const ToolRun run = runTool("validate " + write(c.name, bytes));
        EXPECT_EQ(run.status, 1) << c.name << "\n" << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.name << "\n" << run.output;
    }
}

TEST_F(CatalogueCommand, BadCommandLinesAndMissingFilesAreRefused)
{
    const ToolRun missing = runTool("validate " + (dir_ / "nothing.dat").string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.output.find("no such file"), std::string::npos) << missing.output;

    const ToolRun count = runTool("generate --count 951 --seed 1 -o " + (dir_ / "x.dat").string());
    EXPECT_EQ(count.status, 2);
    EXPECT_NE(count.output.find("the count must be a whole number in 1..950"), std::string::npos) << count.output;
    EXPECT_FALSE(fs::exists(dir_ / "x.dat"));

    const ToolRun words = runTool("generate --count ten --seed 1 -o x.dat");
    EXPECT_EQ(words.status, 2);

    const std::vector<PuzzleRecord> figures = {shippedFigure("house"), shippedFigure("boat"),
                                               shippedFigure("feathered_arrow_right"), shippedFigure("rocket")};
    const std::string four = write("four.dat", bytesOf(figures));
    const ToolRun beyond = runTool("show 5 " + four);
    EXPECT_EQ(beyond.status, 2);
    EXPECT_NE(beyond.output.find("the Quellon number must be a whole number in 1..4"), std::string::npos);

    const ToolRun unknown = runTool("frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("unknown command"), std::string::npos);
}

TEST_F(CatalogueCommand, SolveCountsAndChecksTheLayoutsAndStatsShowsTheTenths)
{
    const std::string path = (dir_ / "ten.dat").string();
    ASSERT_EQ(runTool("generate --count 10 --seed 2 -o " + path).status, 0);

    const ToolRun one = runTool("solve 3 " + path + " --layouts");
    EXPECT_EQ(one.status, 0) << one.output;
    EXPECT_NE(one.output.find("Quellon 3: "), std::string::npos) << one.output;
    EXPECT_NE(one.output.find(" nodes tried, "), std::string::npos) << one.output;
    EXPECT_NE(one.output.find("every layout passes the solve check; the record's own layout is among them"),
              std::string::npos)
        << one.output;

    const ToolRun all = runTool("solve all " + path);
    EXPECT_EQ(all.status, 0) << all.output;
    EXPECT_NE(all.output.find("Quellon 10: "), std::string::npos) << all.output;
    EXPECT_NE(all.output.find("10 Quellons solved in "), std::string::npos) << all.output;
    EXPECT_NE(all.output.find("slowest Quellon "), std::string::npos) << all.output;

    EXPECT_EQ(runTool("solve 11 " + path).status, 2);
    EXPECT_EQ(runTool("solve 1 " + path + " --fast").status, 2);

    const ToolRun stats = runTool("stats " + path);
    EXPECT_EQ(stats.status, 0) << stats.output;
    EXPECT_NE(stats.output.find("difficulty by tenth of the catalogue"), std::string::npos) << stats.output;
    EXPECT_NE(stats.output.find("  10..10  "), std::string::npos) << stats.output;
}

TEST_F(CatalogueCommand, GenerateWritesAFileThatValidatesAndShows)
{
    const std::string path = (dir_ / "small.dat").string();
    const ToolRun generate = runTool("generate --count 12 --seed 3 -o " + path);
    ASSERT_EQ(generate.status, 0) << generate.output;
    EXPECT_EQ(fs::file_size(path), 12u * 24u);
    EXPECT_EQ(runTool("validate " + path).status, 0);

    const std::string png = (dir_ / "q5.png").string();
    const ToolRun show = runTool("show 5 " + path + " --png " + png);
    EXPECT_EQ(show.status, 0) << show.output;
    EXPECT_NE(show.output.find("Quellon 5"), std::string::npos);
    EXPECT_NE(show.output.find("#"), std::string::npos);
    EXPECT_GT(fs::file_size(png), 1000u);
}

// figures checks each figure by the rules of validate and all of them for
// repeats, naming the figure and its line; a file it cannot read is refused.
TEST_F(CatalogueCommand, FiguresChecksDrawsAndNamesEachFaultyFigure)
{
    const ToolRun shipped =
        runTool(std::string("figures ") + QUELLON_FIGURES_FILE + " --png " + (dir_ / "png").string());
    EXPECT_EQ(shipped.status, 0) << shipped.output;
    EXPECT_NE(shipped.output.find(" families ("), std::string::npos) << shipped.output;
    EXPECT_NE(shipped.output.find(", clean"), std::string::npos) << shipped.output;
    EXPECT_TRUE(fs::exists(dir_ / "png" / "house_chimney.png"));

    const std::string head = "en X\nde X\nfamily shapes\n";
    const std::string faulty = write("faulty.txt", [&] {
        const std::string text = "figure bar\n" + head + "square 0 0\nsquare 10 0\nsquare 20 0\nsquare 30 0\nend\n" +
                                 "figure upright\n" + head +
                                 "square 0 0\nsquare 0 10\nsquare 0 20\nsquare 0 30\nend\n" + "figure long\n" + head +
                                 "square 0 0\nsquare 60 0\nsquare 10 0\nsquare 50 0\nend\n" + "figure apart\n" + head +
                                 "square 0 0\nsquare 10 0\nsquare 0 30\nsquare 10 30\nend\n";
        return std::vector<uint8_t>(text.begin(), text.end());
    }());
    const ToolRun run = runTool("figures " + faulty);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(":10: figure upright: the same silhouette as figure bar"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(":19: figure long: piece 4 covers columns 70..79, reaching into the parking columns"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(":28: figure apart: the silhouette falls apart"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("4 figures in 1 families"), std::string::npos) << run.output;

    const std::string unreadable = write("bad.txt", {'e', 'n', 'd', '\n'});
    const ToolRun bad = runTool("figures " + unreadable);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.output.find("bad.txt:1: \"end\" outside a figure"), std::string::npos) << bad.output;
}

// A naming round's sheets: every figure once, at least 30 % composed
// Quellons that are not figures, the key apart, the same for the same seed.
TEST_F(CatalogueCommand, NamingSheetsHoldEveryFigureOnceAmongFoils)
{
    auto sheets = [&](const std::string& out) {
        return runTool(std::string("naming-sheets --figures ") + QUELLON_FIGURES_FILE + " --catalogue " +
                       QUELLON_SHIPPED_CATALOGUE + " --seed 7 --per-page 30 --out " + (dir_ / out).string());
    };
    const ToolRun run = sheets("a");
    ASSERT_EQ(run.status, 0) << run.output;
    std::ifstream in(dir_ / "a" / "key.txt");
    const std::string key((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(sheets("b").status, 0);
    std::ifstream again(dir_ / "b" / "key.txt");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()), key);

    std::set<std::string> labels, figureIds;
    std::set<std::string> figureKeys;
    for (const HandFigure& figure : shippedFigures())
        figureKeys.insert(silhouetteKey(figureOf(figure.record)));
    const std::vector<PuzzleRecord> records = recordsOf([] {
        std::ifstream file(QUELLON_SHIPPED_CATALOGUE, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }());
    int foils = 0, items = 0;
    std::istringstream lines(key);
    for (std::string label, kind, what; lines >> label;) {
        if (label[0] == '#') {
            std::getline(lines, what);
            continue;
        }
        lines >> kind >> what;
        ++items;
        EXPECT_TRUE(labels.insert(label).second) << label;
        if (kind == "figure") {
            EXPECT_TRUE(figureIds.insert(what).second) << what;
        } else {
            ++foils;
            const PuzzleRecord& foil = records.at(static_cast<size_t>(std::stoi(what) - 1));
            EXPECT_FALSE(figureKeys.count(silhouetteKey(figureOf(foil)))) << "Quellon " << what << " is a figure";
        }
    }
    EXPECT_EQ(figureIds.size(), shippedFigures().size());
    EXPECT_GE(foils * 10, items * 3);
    const int pages = (items + 29) / 30;
    EXPECT_TRUE(fs::exists(dir_ / "a" / ("sheet-" + std::string(1, static_cast<char>('A' + pages - 1)) + ".png")));
    EXPECT_FALSE(fs::exists(dir_ / "a" / ("sheet-" + std::string(1, static_cast<char>('A' + pages)) + ".png")));
}

}  // namespace
}  // namespace quellon::catalogue
