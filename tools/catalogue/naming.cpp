// Naming sheets and the scoring of a naming round. The files of a round are
// text, one entry a line, '#' starting a comment:
//
//   key       "A01 figure house" or "A02 quellon 417": label, then what it shows
//   synonyms  "house: house, home, cottage": a figure id, then the names that
//             count as naming it, written before any answer is seen
//   answers   "A01: a house": one namer's name for each label; "?" or nothing
//             for a silhouette that shows nothing to the namer
//
// Bad lines stop the reading with the file and the line.
#include "tools/catalogue/naming.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "engine/silhouette.h"
#include "tools/catalogue/picture.h"

namespace quellon::catalogue {

namespace {

// The pattern window's silver, and the silhouette's black.
constexpr uint8_t kSilver = 0xC0;
constexpr uint8_t kBlack = 0x00;
constexpr uint8_t kWhite = 0xFF;
// The cells shown per silhouette: 50 x 50 around the board's centre, where
// every Quellon lies.
constexpr int kShownLeft = 20;
constexpr int kShownTop = 5;
constexpr int kShownCells = 50;
constexpr int kPixelsPerCell = 4;
constexpr int kPicture = kShownCells * kPixelsPerCell;
constexpr int kGap = 16;
constexpr int kLabelHeight = 40;
constexpr int kCellWidth = kPicture + kGap;
constexpr int kCellHeight = kPicture + kLabelHeight;
constexpr int kFontScale = 4;

// A 5 x 7 font for the labels: digits and capitals.
struct Glyph {
    char c;
    std::array<const char*, 7> rows;
};
constexpr Glyph kFont[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
};

void drawText(std::vector<uint8_t>& pixels, int width, int left, int top, const std::string& text)
{
    for (size_t k = 0; k < text.size(); ++k) {
        const auto glyph = std::find_if(std::begin(kFont), std::end(kFont), [&](const Glyph& g) {
            return g.c == std::toupper(static_cast<unsigned char>(text[k]));
        });
        if (glyph == std::end(kFont))
            continue;  // a blank
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column)
                if (glyph->rows[static_cast<size_t>(row)][column] == '#')
                    for (int dy = 0; dy < kFontScale; ++dy)
                        for (int dx = 0; dx < kFontScale; ++dx) {
                            const int x = left + (static_cast<int>(k) * 6 + column) * kFontScale + dx;
                            const int y = top + row * kFontScale + dy;
                            pixels[static_cast<size_t>(y * width + x)] = kBlack;
                        }
    }
}

bool insideTriangle(const std::array<Point, 3>& c, double x, double y)
{
    auto side = [&](Point a, Point b) { return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x); };
    const double s0 = side(c[0], c[1]), s1 = side(c[1], c[2]), s2 = side(c[2], c[0]);
    return (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
}

void drawSilhouette(std::vector<uint8_t>& pixels, int width, int left, int top, const PuzzleRecord& record)
{
    for (const PieceState& piece : record.pieces) {
        const std::array<Point, 3> c = pieceCorners({piece.x, piece.y, piece.orientation});
        for (int py = 0; py < kPicture; ++py)
            for (int px = 0; px < kPicture; ++px) {
                const double x = kShownLeft + (px + 0.5) / kPixelsPerCell;
                const double y = kShownTop + (py + 0.5) / kPixelsPerCell;
                if (insideTriangle(c, x, y))
                    pixels[static_cast<size_t>((top + py) * width + left + px)] = kBlack;
            }
    }
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The lines of a file without comments and blanks, with their numbers.
std::vector<std::pair<int, std::string>> meaningfulLines(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw NamingFileError(path + ": cannot be opened");
    std::vector<std::pair<int, std::string>> lines;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (const size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        line = trimmed(line);
        if (!line.empty())
            lines.emplace_back(number, line);
    }
    return lines;
}

[[noreturn]] void fail(const std::string& path, int line, const std::string& what)
{
    throw NamingFileError(path + ":" + std::to_string(line) + ": " + what);
}

std::vector<std::string> wordsOf(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool isFigure(const std::string& source) { return source.rfind("figure ", 0) == 0; }

std::string figureId(const std::string& source) { return source.substr(7); }

}  // namespace

std::vector<uint8_t> namingPage(const std::vector<SheetItem>& items)
{
    const int width = kSheetColumns * kCellWidth + kGap;
    const int rows = std::max(1, (static_cast<int>(items.size()) + kSheetColumns - 1) / kSheetColumns);
    const int height = rows * kCellHeight + kGap;
    std::vector<uint8_t> pixels(static_cast<size_t>(width * height), kWhite);
    for (size_t n = 0; n < items.size(); ++n) {
        const int left = kGap + static_cast<int>(n) % kSheetColumns * kCellWidth;
        const int top = kGap + static_cast<int>(n) / kSheetColumns * kCellHeight;
        for (int y = top; y < top + kPicture; ++y)
            std::fill_n(pixels.begin() + y * width + left, kPicture, kSilver);
        drawSilhouette(pixels, width, left, top, items[n].record);
        const int textWidth = static_cast<int>(items[n].label.size()) * 6 * kFontScale;
        drawText(pixels, width, left + (kPicture - textWidth) / 2, top + kPicture + 6, items[n].label);
    }
    return encodeGreyPng(width, height, pixels);
}

std::map<std::string, std::string> readNamingKey(const std::string& path)
{
    std::map<std::string, std::string> key;
    for (const auto& [line, text] : meaningfulLines(path)) {
        const std::vector<std::string> words = wordsOf(text);
        if (words.size() != 3 || (words[1] != "figure" && words[1] != "quellon"))
            fail(path, line, "a key line is \"LABEL figure ID\" or \"LABEL quellon N\"");
        if (!key.emplace(words[0], words[1] + " " + words[2]).second)
            fail(path, line, "label " + words[0] + " is given twice");
    }
    return key;
}

std::map<std::string, std::vector<std::string>> readSynonyms(const std::string& path)
{
    std::map<std::string, std::vector<std::string>> synonyms;
    for (const auto& [line, text] : meaningfulLines(path)) {
        const size_t colon = text.find(':');
        const std::string id = colon == std::string::npos ? std::string() : trimmed(text.substr(0, colon));
        if (id.empty() || id.find(' ') != std::string::npos)
            fail(path, line, "a synonyms line is \"ID: name, other name\"");
        std::vector<std::string> names;
        std::istringstream in(text.substr(colon + 1));
        for (std::string name; std::getline(in, name, ',');)
            if (const std::string normal = normalName(name); !normal.empty())
                names.push_back(normal);
        if (names.empty())
            fail(path, line, "figure " + id + " has no names");
        if (!synonyms.emplace(id, names).second)
            fail(path, line, "figure " + id + " is given twice");
    }
    return synonyms;
}

std::map<std::string, std::string> readAnswers(const std::string& path)
{
    std::map<std::string, std::string> answers;
    for (const auto& [line, text] : meaningfulLines(path)) {
        const size_t colon = text.find(':');
        const std::string label = colon == std::string::npos ? std::string() : trimmed(text.substr(0, colon));
        if (label.empty() || label.find(' ') != std::string::npos)
            fail(path, line, "an answer line is \"LABEL: answer\"");
        if (!answers.emplace(label, trimmed(text.substr(colon + 1))).second)
            fail(path, line, "label " + label + " is answered twice");
    }
    return answers;
}

std::string normalName(const std::string& answer)
{
    std::string spaced;
    for (const char c : answer)
        spaced += std::isalnum(static_cast<unsigned char>(c))
                      ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
                      : ' ';
    std::vector<std::string> words = wordsOf(spaced);
    if (words.size() > 1 && (words[0] == "a" || words[0] == "an" || words[0] == "the"))
        words.erase(words.begin());
    std::string joined;
    for (const std::string& word : words)
        joined += (joined.empty() ? "" : " ") + word;
    return joined;
}

bool namesAsIntended(const std::string& answer, const std::vector<std::string>& synonyms)
{
    const std::string normal = normalName(answer);
    if (normal.empty())
        return false;
    const std::string padded = " " + normal + " ";
    for (const std::string& synonym : synonyms) {
        const std::string wanted = normalName(synonym);
        if (normal == wanted)
            return true;
        if (wanted.size() >= 3 && padded.find(" " + wanted + " ") != std::string::npos)
            return true;
    }
    return false;
}

std::vector<ItemScore> scoreRound(const std::map<std::string, std::string>& key,
                                  const std::map<std::string, std::vector<std::string>>& synonyms,
                                  const std::vector<std::map<std::string, std::string>>& answers)
{
    std::vector<ItemScore> scores;
    for (const auto& [label, source] : key) {
        ItemScore score;
        score.label = label;
        score.source = source;
        score.namers = static_cast<int>(answers.size());
        const std::vector<std::string>* names = nullptr;
        if (isFigure(source)) {
            const auto found = synonyms.find(figureId(source));
            if (found == synonyms.end())
                throw NamingFileError("no synonyms for " + source + " (" + label +
                                      "): the list must be complete before the round");
            names = &found->second;
        }
        std::map<std::string, int> others;
        for (const auto& namer : answers) {
            const auto given = namer.find(label);
            const std::string answer = given == namer.end() ? std::string() : normalName(given->second);
            if (answer.empty()) {
                ++score.unnamed;
            } else if (names && namesAsIntended(answer, *names)) {
                ++score.intended;
            } else {
                ++others[answer];
            }
        }
        for (const auto& [answer, count] : others)
            if (count > score.otherCount) {
                score.otherAnswer = answer;
                score.otherCount = count;
            }
        scores.push_back(score);
    }
    return scores;
}

std::string scoresTable(const std::vector<ItemScore>& scores)
{
    std::ostringstream out;
    int figures = 0, atFourFifths = 0, all = 0;
    out << "| label | figure | named as intended | share | most common other answer |\n"
        << "|---|---|---|---|---|\n";
    std::vector<const ItemScore*> sorted;
    for (const ItemScore& score : scores)
        if (isFigure(score.source))
            sorted.push_back(&score);
    std::sort(sorted.begin(), sorted.end(),
              [](const ItemScore* a, const ItemScore* b) { return a->source < b->source; });
    for (const ItemScore* score : sorted) {
        ++figures;
        const double share = score->namers == 0 ? 0.0 : static_cast<double>(score->intended) / score->namers;
        atFourFifths += share >= 0.8;
        all += score->namers > 0 && score->intended == score->namers;
        out << "| " << score->label << " | " << figureId(score->source) << " | " << score->intended << " of "
            << score->namers << " | " << static_cast<int>(share * 100.0 + 0.5) << " % | "
            << (score->otherCount > 0 ? score->otherAnswer + " (" + std::to_string(score->otherCount) + ")" : "-")
            << " |\n";
    }
    out << "\n| label | Quellon | named something | most common answer |\n|---|---|---|---|\n";
    for (const ItemScore& score : scores)
        if (!isFigure(score.source))
            out << "| " << score.label << " | " << score.source.substr(8) << " | " << score.namers - score.unnamed
                << " of " << score.namers << " | "
                << (score.otherCount > 0 ? score.otherAnswer + " (" + std::to_string(score.otherCount) + ")" : "-")
                << " |\n";
    out << "\n"
        << figures << " figures: " << atFourFifths << " named as intended by at least 80 % of the namers, " << all
        << " by all of them\n";
    return out.str();
}

}  // namespace quellon::catalogue
