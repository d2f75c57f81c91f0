// Silhouettes alike as a player sees them: known twins of the figures file
// (a letter and its tilted italic, a square on three grids, the Z and the
// zigzag) are the same, a piece moved by one cell is a near-repeat, and
// figures that differ in more than one piece stay apart, whatever the order
// of the pair.
#include <gtest/gtest.h>

#include "tools/catalogue/likeness.h"
#include "tools/catalogue/validator.h"
#include "tests/tools/shipped_figures.h"

namespace quellon::catalogue {
namespace {

enum class Kind { Same, Near, Distinct };

PuzzleRecord houseWithRoofMoved(int cells)
{
    // The house's right roof half moved along the eaves: a slit and a step.
    PuzzleRecord record = shippedFigure("house");
    record.pieces[7].x = static_cast<uint8_t>(record.pieces[7].x + cells);
    return record;
}

TEST(Likeness, KnownTwinsNearRepeatsAndDistinctPairs)
{
    struct Case {
        const char* first;
        const char* second;
        PuzzleRecord a, b;
        Kind kind;
    };
    const Case cases[] = {
        {"italic_n", "letter_n", shippedFigure("italic_n"), shippedFigure("letter_n"), Kind::Same},
        {"tilted_square", "square", shippedFigure("tilted_square"), shippedFigure("square"), Kind::Same},
        {"diamond", "square", shippedFigure("diamond"), shippedFigure("square"), Kind::Same},
        {"letter_z", "zigzag", shippedFigure("letter_z"), shippedFigure("zigzag"), Kind::Same},
        {"house", "roof moved 1", shippedFigure("house"), houseWithRoofMoved(1), Kind::Near},
        {"house", "roof moved 5", shippedFigure("house"), houseWithRoofMoved(5), Kind::Distinct},
        {"person_arms_out", "person_cheering", shippedFigure("person_arms_out"), shippedFigure("person_cheering"),
         Kind::Distinct},
        {"house", "boat", shippedFigure("house"), shippedFigure("boat"), Kind::Distinct},
        {"square", "italic_n", shippedFigure("square"), shippedFigure("italic_n"), Kind::Distinct},
    };
    for (const Case& c : cases) {
        const SilhouetteShape a(figureOf(c.a)), b(figureOf(c.b));
        // With no floor the measure is always taken in full, both ways round.
        const double overlap = bestOverlap(a, b, 0.0);
        EXPECT_NEAR(bestOverlap(b, a, 0.0), overlap, 1e-3) << c.first << " / " << c.second;
        // The quick looks must never hide a pair that reaches the floor.
        EXPECT_EQ(bestOverlap(a, b) >= kNearOverlap, overlap >= kNearOverlap) << c.first << " / " << c.second;
        switch (c.kind) {
        case Kind::Same:
            EXPECT_GE(overlap, kSameOverlap) << c.first << " / " << c.second;
            break;
        case Kind::Near:
            EXPECT_GE(overlap, kNearOverlap) << c.first << " / " << c.second;
            EXPECT_LT(overlap, kSameOverlap) << c.first << " / " << c.second;
            break;
        case Kind::Distinct:
            EXPECT_LT(overlap, kNearOverlap) << c.first << " / " << c.second;
            break;
        }
    }
}

TEST(Likeness, ValidateNamesTheEarlierTwinAndTheNearRepeat)
{
    const std::vector<PuzzleRecord> records = {shippedFigure("square"), shippedFigure("house"),
                                               shippedFigure("tilted_square"), houseWithRoofMoved(1)};
    std::vector<Figure> figures;
    for (const PuzzleRecord& record : records)
        figures.push_back(figureOf(record));
    const std::vector<Repeat> repeats = findRepeats(figures);
    ASSERT_EQ(repeats.size(), 2u);
    EXPECT_EQ(repeats[0].later, 2);
    EXPECT_EQ(repeats[0].earlier, 0);
    EXPECT_EQ(repeats[1].later, 3);
    EXPECT_EQ(repeats[1].earlier, 1);

    const std::vector<std::string> problems = catalogueProblems(bytesOf({records[0], records[1], records[2]}));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0],
              "Quellon 3: the same silhouette as Quellon 1 (shifted, turned, tilted or mirrored; overlap 1.000)");
}

}  // namespace
}  // namespace quellon::catalogue
