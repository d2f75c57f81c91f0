// A naming round scored as the README describes: answers matched against the
// synonyms fixed before the round, per figure the share named as intended and
// the most common other answer, foils listed with what namers saw in them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tools/catalogue/naming.h"

namespace quellon::catalogue {
namespace {

namespace fs = std::filesystem;

class NamingRound : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("quellon-naming-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir_ / name) << text;
        return (dir_ / name).string();
    }

    fs::path dir_;
};

TEST_F(NamingRound, AnswersScoredAgainstTheSynonyms)
{
    const auto key = readNamingKey(write("key.txt", "# the key\nA01 figure house\nA02 quellon 417\nA03 figure cat\n"));
    const auto synonyms = readSynonyms(write("synonyms.txt", "house: house, home\ncat: cat, kitten  # pets\n"));
    const std::vector<std::map<std::string, std::string>> answers = {
        readAnswers(write("1.txt", "A01: A small House\nA02: teapot\nA03: dog\n")),
        readAnswers(write("2.txt", "A01: home\nA02: ?\nA03: Dog!\n")),
        readAnswers(write("3.txt", "A01: roof\nA02: Teapot\n")),  // A03 left out
    };
    const std::vector<ItemScore> scores = scoreRound(key, synonyms, answers);
    ASSERT_EQ(scores.size(), 3u);
    EXPECT_EQ(scores[0].intended, 2);  // "a small house" names the house
    EXPECT_EQ(scores[0].otherAnswer, "roof");
    EXPECT_EQ(scores[1].unnamed, 1);  // the foil: what the others saw
    EXPECT_EQ(scores[1].otherAnswer, "teapot");
    EXPECT_EQ(scores[1].otherCount, 2);
    EXPECT_EQ(scores[2].intended, 0);
    EXPECT_EQ(scores[2].unnamed, 1);
    EXPECT_EQ(scores[2].otherAnswer, "dog");
    EXPECT_EQ(scores[2].otherCount, 2);

    const std::string table = scoresTable(scores);
    EXPECT_NE(table.find("| A01 | house | 2 of 3 | 67 % | roof (1) |"), std::string::npos) << table;
    EXPECT_NE(table.find("| A02 | 417 | 2 of 3 | teapot (2) |"), std::string::npos) << table;
    EXPECT_NE(table.find("2 figures: 0 named as intended by at least 80 %"), std::string::npos) << table;

    // A short synonym counts only as the whole answer: "letter z" is no N.
    EXPECT_TRUE(namesAsIntended("N", {"n", "letter n"}));
    EXPECT_FALSE(namesAsIntended("letter z", {"n", "letter n"}));

    // The list is fixed before the round: a figure without synonyms stops it.
    EXPECT_THROW(scoreRound(key, {{"house", {"house"}}}, answers), NamingFileError);
    EXPECT_THROW(readAnswers(write("twice.txt", "A01: cat\nA01: dog\n")), NamingFileError);
    EXPECT_THROW(readNamingKey(write("badkey.txt", "A01 house\n")), NamingFileError);
}

TEST_F(NamingRound, PageHoldsThePicturesAndLabels)
{
    PuzzleRecord square;  // one plain square in the middle of the board
    square.pieces.fill(PieceState{45, 30, 0});
    std::vector<SheetItem> items(kSheetColumns + 1, SheetItem{"A01", "figure square", square});
    const std::vector<uint8_t> png = namingPage(items);
    ASSERT_GT(png.size(), 24u);
    // Two rows of pictures: the width and height in the PNG header.
    const auto be = [&](size_t at) { return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
    EXPECT_EQ(be(16), kSheetColumns * 216 + 16);
    EXPECT_EQ(be(20), 2 * 240 + 16);
}

}  // namespace
}  // namespace quellon::catalogue
