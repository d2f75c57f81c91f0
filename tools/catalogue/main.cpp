// quellon-catalogue: composes, checks and shows catalogue files.
//
//   quellon-catalogue generate --count N --seed S [--figures FIGURES] -o FILE
//   quellon-catalogue validate FILE
//   quellon-catalogue show N FILE [--png OUT.png] [--scale S]
//   quellon-catalogue stats FILE [--figures FIGURES]
//   quellon-catalogue figures FILE [--png DIR [--plain]] [--text]
//   quellon-catalogue solve N|all FILE [--layouts]
//   quellon-catalogue naming-sheets --figures FIGURES... --catalogue FILE --seed S --out DIR
//                     [--known FIGURES] [--foils PERCENT] [--per-page N]
//   quellon-catalogue naming-score KEY SYNONYMS ANSWERS... [-o SCORES]
//
// Exit status: 0 success (a clean file for validate), 1 a file with problems,
// 2 bad command line or a file that cannot be read or written.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/silhouette.h"
#include "tools/catalogue/figure_quality.h"
#include "tools/catalogue/figures_file.h"
#include "tools/catalogue/difficulty.h"
#include "tools/catalogue/generator.h"
#include "tools/catalogue/likeness.h"
#include "tools/catalogue/naming.h"
#include "tools/catalogue/picture.h"
#include "tools/catalogue/solver.h"
#include "tools/catalogue/statistics.h"
#include "tools/catalogue/validator.h"

namespace {

using namespace quellon;
using namespace quellon::catalogue;

constexpr int kExitProblems = 1;
constexpr int kExitUsage = 2;

const char* const kUsage = "usage: quellon-catalogue generate --count N --seed S [--figures FIGURES] -o FILE\n"
                           "       quellon-catalogue validate FILE\n"
                           "       quellon-catalogue show N FILE [--png OUT.png] [--scale S]\n"
                           "       quellon-catalogue stats FILE [--figures FIGURES]\n"
                           "       quellon-catalogue figures FILE [--png DIR [--plain]] [--text]\n"
                           "       quellon-catalogue solve N|all FILE [--layouts]\n"
                           "       quellon-catalogue naming-sheets --figures FIGURES... --catalogue FILE --seed S "
                           "--out DIR [--known FIGURES] [--foils PERCENT] [--per-page N]\n"
                           "       quellon-catalogue naming-score KEY SYNONYMS ANSWERS... [-o SCORES]\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

long parseNumber(const std::string& text, const std::string& what, long low, long high)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw UsageError(what + " must be a whole number in " + std::to_string(low) + ".." + std::to_string(high) +
                         ", not \"" + text + "\"");
    return value;
}

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw UsageError(path + ": no such file");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw UsageError(path + ": cannot be opened");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw UsageError(path + ": read error");
    return bytes;
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    // Write beside the target and rename, so a failed run leaves the old file.
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            throw UsageError(path + ": cannot be written");
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        throw UsageError(path + ": cannot be written");
    }
}

// The catalogue records that the game reads; a file the game would refuse
// cannot be shown or measured.
std::vector<PuzzleRecord> readCatalogue(const std::string& path)
{
    const std::vector<uint8_t> bytes = readBytes(path);
    std::vector<PuzzleRecord> records = recordsOf(bytes);
    if (records.empty())
        throw UsageError(path + ": holds no whole record");
    if (records.size() > static_cast<size_t>(kMaxQuellons))
        records.resize(kMaxQuellons);
    return records;
}

int generate(const std::vector<std::string>& args)
{
    GeneratorOptions options;
    std::string output;
    bool haveCount = false, haveSeed = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (i + 1 >= args.size())
            throw UsageError("option " + arg + " needs a value");
        const std::string& value = args[++i];
        if (arg == "--count") {
            options.count = static_cast<int>(parseNumber(value, "the count", 1, kMaxQuellons));
            haveCount = true;
        } else if (arg == "--seed") {
            options.seed = static_cast<uint32_t>(parseNumber(value, "the seed", 0, 4294967295L));
            haveSeed = true;
        } else if (arg == "-o") {
            output = value;
        } else if (arg == "--odd-share") {
            options.oddShare = static_cast<double>(parseNumber(value, "the odd share in percent", 0, 100)) / 100.0;
        } else if (arg == "--figures") {
            for (const HandFigure& figure : readFigures(value)) {
                const std::vector<std::string> problems = recordProblems(figure.record);
                if (!problems.empty())
                    throw UsageError(value + ":" + std::to_string(figure.line) + ": figure " + figure.id + ": " +
                                     problems[0] + "; run figures");
                options.figures.push_back(figure.record);
                options.figureFamilies.push_back(figure.family);
                options.figureOpening.push_back(figure.opening);
            }
        } else {
            throw UsageError("unknown option " + arg);
        }
    }
    if (!haveCount || !haveSeed || output.empty())
        throw UsageError("generate needs --count, --seed and -o");

    GeneratorReport report;
    const std::vector<PuzzleRecord> records = generateCatalogue(options, report);
    writeBytes(output, bytesOf(records));
    std::cout << output << ": " << records.size() << " Quellons (" << report.handFigures << " drawn by hand), "
              << report.builds << " builds, " << report.stuck << " stuck, " << report.duplicates << " duplicates";
    for (const auto& [reason, count] : report.rejected)
        std::cout << ", " << count << " " << reason;
    std::cout << "; solving took " << report.solverNodes << " nodes";
    if (report.capped > 0)
        std::cout << ", " << report.capped << " Quellons capped (difficulty from a partial search)";
    std::cout << "\n";
    return 0;
}

int validate(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        throw UsageError("validate needs exactly one file");
    const std::vector<uint8_t> bytes = readBytes(args[0]);
    const std::vector<std::string> problems = catalogueProblems(bytes);
    for (const std::string& problem : problems)
        std::cout << args[0] << ": " << problem << "\n";
    if (!problems.empty()) {
        std::cout << args[0] << ": " << problems.size() << " problem" << (problems.size() == 1 ? "" : "s") << "\n";
        return kExitProblems;
    }
    std::cout << args[0] << ": " << bytes.size() / kRecordSize << " Quellons, clean\n";
    return 0;
}

int show(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        throw UsageError("show needs a Quellon number and a file");
    const std::vector<PuzzleRecord> records = readCatalogue(args[1]);
    const int n = static_cast<int>(parseNumber(args[0], "the Quellon number", 1, static_cast<long>(records.size())));
    std::string png;
    int scale = 4;
    for (size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            throw UsageError("option " + args[i] + " needs a value");
        if (args[i] == "--png")
            png = args[i + 1];
        else if (args[i] == "--scale")
            scale = static_cast<int>(parseNumber(args[i + 1], "the scale", 1, 16));
        else
            throw UsageError("unknown option " + args[i]);
    }
    const PuzzleRecord& record = records[static_cast<size_t>(n - 1)];
    if (!recordOnBoard(record))
        throw UsageError("Quellon " + std::to_string(n) + " does not lie on the board; run validate");
    std::cout << "Quellon " << n << "\n" << describeQuellon(record) << textPicture(record);
    if (!png.empty()) {
        writeBytes(png, pngPicture(record, scale));
        std::cout << "picture written to " << png << "\n";
    }
    return 0;
}

int stats(const std::vector<std::string>& args)
{
    if (args.size() != 1 && !(args.size() == 3 && args[1] == "--figures"))
        throw UsageError("stats needs a file, and --figures FIGURES at most");
    const std::vector<PuzzleRecord> records = readCatalogue(args[0]);
    for (const PuzzleRecord& record : records)
        if (!recordOnBoard(record))
            throw UsageError(args[0] + ": a Quellon does not lie on the board; run validate");
    std::vector<PuzzleRecord> figures;
    if (args.size() == 3)
        for (const HandFigure& figure : readFigures(args[2]))
            if (recordOnBoard(figure.record))
                figures.push_back(figure.record);
    std::cout << catalogueStatistics(records, figures);
    return 0;
}

// Every layout of Quellon N, or of each Quellon with "all", with the search
// effort; every layout found goes through the game's own solve check, and
// the record's own layout must be among them.
int solve(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        throw UsageError("solve needs a Quellon number (or all) and a file");
    bool listLayouts = false;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--layouts")
            listLayouts = true;
        else
            throw UsageError("unknown option " + args[i]);
    }
    const std::vector<PuzzleRecord> records = readCatalogue(args[1]);
    const int count = static_cast<int>(records.size());
    const bool all = args[0] == "all";
    const int first = all ? 1 : static_cast<int>(parseNumber(args[0], "the Quellon number", 1, count));
    const int last = all ? count : first;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    int faults = 0, badRecords = 0, capped = 0, slowest = first;
    double slowestSeconds = -1.0;
    int hardestSearch = first;  // the most nodes: unlike the time, the same on every run
    int64_t mostNodes = -1;
    for (int n = first; n <= last; ++n) {
        const PuzzleRecord& record = records[static_cast<size_t>(n - 1)];
        if (!recordOnBoard(record))
            throw UsageError("Quellon " + std::to_string(n) + " does not lie on the board; run validate");
        const Clock::time_point began = Clock::now();
        const SolveResult result = solveQuellon(record);
        const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
        if (seconds > slowestSeconds) {
            slowestSeconds = seconds;
            slowest = n;
        }
        if (result.nodes > mostNodes) {
            mostNodes = result.nodes;
            hardestSearch = n;
        }
        capped += result.capped;
        std::cout << "Quellon " << n << ": " << (result.capped ? "at least " : "") << result.layouts << " layout"
                  << (result.layouts == 1 ? "" : "s") << ", " << result.nodes << " nodes tried, " << result.deadEnds
                  << " dead ends, " << result.candidates << " candidate placements, difficulty "
                  << formatDifficulty(difficultyOf(record)) << ", " << static_cast<int>(seconds * 1000.0 + 0.5)
                  << " ms";
        if (result.unbuildable > 0)
            std::cout << ", " << result.unbuildable << " code-sum matches that no order of laying allows";
        std::cout << (result.capped ? " (search capped: the counts are lower bounds)" : "") << "\n";
        const bool complete = static_cast<int64_t>(result.kept.size()) == result.layouts;
        const std::vector<PieceState> own = canonicalLayout(record.pieces);
        if (complete && !result.capped && std::find(result.kept.begin(), result.kept.end(), own) == result.kept.end()) {
            if (canBeLaid(record.pieces)) {
                std::cout << "Quellon " << n << ": the record's own layout was not found\n";
                ++faults;
            } else {
                std::cout << "Quellon " << n << ": the record's own pieces cannot be laid in any order; run validate\n";
                ++badRecords;
            }
        }
        for (const std::vector<PieceState>& layout : result.kept) {
            if (!passesSolveCheck(record, layout)) {
                std::cout << "Quellon " << n << ": a layout fails the solve check\n";
                ++faults;
            }
            if (listLayouts) {
                std::cout << " ";
                for (const PieceState& piece : layout)
                    std::cout << " (" << int(piece.x) << ", " << int(piece.y) << ", " << int(piece.orientation) << ")";
                std::cout << "\n";
            }
        }
    }
    if (all) {
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::cout << count << " Quellons solved in " << formatDifficulty(seconds) << " s; slowest Quellon " << slowest
                  << " (" << static_cast<int>(slowestSeconds * 1000.0 + 0.5) << " ms); most nodes Quellon "
                  << hardestSearch << " (" << mostNodes << ")";
        if (capped > 0)
            std::cout << "; " << capped << " capped";
        std::cout << "\n";
    }
    if (faults > 0)
        std::cout << faults << " solver fault" << (faults == 1 ? "" : "s") << "\n";
    if (faults > 0 || badRecords > 0)
        return kExitProblems;
    if (!all)
        std::cout << "every layout passes the solve check; the record's own layout is among them\n";
    return 0;
}

// The hand-composed figures checked as catalogue records: each by the rules
// of validate, and all of them pairwise for the same silhouette.
int figures(const std::vector<std::string>& args)
{
    if (args.empty())
        throw UsageError("figures needs a file");
    std::string pngDir;
    bool plain = false, text = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--png") {
            if (i + 1 >= args.size())
                throw UsageError("--png needs a directory");
            pngDir = args[++i];
        } else if (args[i] == "--plain")
            plain = true;
        else if (args[i] == "--text")
            text = true;
        else
            throw UsageError("unknown option " + args[i]);
    }
    if (plain && pngDir.empty())
        throw UsageError("--plain needs --png DIR");
    const std::vector<HandFigure> all = readFigures(args[0]);
    if (!pngDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(pngDir, error);
        if (error)
            throw UsageError(pngDir + ": cannot be made: " + error.message());
    }

    int problems = 0;
    std::vector<const HandFigure*> stamped;  // the figures on the board, for the comparison
    std::map<std::string, int> families;
    for (const HandFigure& figure : all) {
        const std::string where = args[0] + ":" + std::to_string(figure.line) + ": figure " + figure.id + ": ";
        ++families[figure.family];
        for (const std::string& problem : recordProblems(figure.record)) {
            std::cout << where << problem << "\n";
            ++problems;
        }
        if (!recordOnBoard(figure.record))
            continue;  // cannot be stamped for the comparison or a picture
        stamped.push_back(&figure);
        if (text)
            std::cout << figure.id << ": " << figure.nameEnglish << " / " << figure.nameGerman << " (" << figure.family
                      << ")\n"
                      << textPicture(figure.record);
        if (!pngDir.empty())
            writeBytes(pngDir + "/" + figure.id + ".png",
                       pngPicture(figure.record, 4, plain ? PictureStyle::Silhouette : PictureStyle::Pieces));
    }
    std::vector<Figure> shapes;
    for (const HandFigure* figure : stamped)
        shapes.push_back(figureOf(figure->record));
    for (const Repeat& repeat : findRepeats(shapes)) {
        const HandFigure& later = *stamped[static_cast<size_t>(repeat.later)];
        std::cout << args[0] << ":" << later.line << ": figure " << later.id << ": "
                  << repeatText(repeat.overlap, "figure " + stamped[static_cast<size_t>(repeat.earlier)]->id) << "\n";
        ++problems;
    }
    std::cout << args[0] << ": " << all.size() << " figures in " << families.size() << " families";
    for (const auto& [family, count] : families)
        std::cout << (family == families.begin()->first ? " (" : ", ") << family << " " << count;
    std::cout << (families.empty() ? "" : ")");
    if (problems > 0) {
        std::cout << ", " << problems << " problem" << (problems == 1 ? "" : "s") << "\n";
        return kExitProblems;
    }
    std::cout << ", clean\n";
    return 0;
}

// Sheets for a blind naming round: every figure of the figures files and
// composed Quellons of the catalogue as foils, shuffled by the seed under
// neutral labels, a PNG per page and the key apart.
int namingSheets(const std::vector<std::string>& args)
{
    std::vector<std::string> figureFiles, knownFiles;
    std::string cataloguePath, outDir;
    long seed = -1, foilPercent = 30, perPage = kSheetColumns * kSheetRows;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size())
            throw UsageError("option " + args[i] + " needs a value");
        const std::string& value = args[++i];
        if (args[i - 1] == "--figures")
            figureFiles.push_back(value);
        else if (args[i - 1] == "--known")
            knownFiles.push_back(value);
        else if (args[i - 1] == "--catalogue")
            cataloguePath = value;
        else if (args[i - 1] == "--out")
            outDir = value;
        else if (args[i - 1] == "--seed")
            seed = parseNumber(value, "the seed", 0, 4294967295L);
        else if (args[i - 1] == "--foils")
            foilPercent = parseNumber(value, "the share of foils in percent", 30, 90);
        else if (args[i - 1] == "--per-page")
            perPage = parseNumber(value, "the silhouettes per page", 1, kSheetColumns * kSheetRows);
        else
            throw UsageError("unknown option " + args[i - 1]);
    }
    if (figureFiles.empty() || cataloguePath.empty() || outDir.empty() || seed < 0)
        throw UsageError("naming-sheets needs --figures, --catalogue, --seed and --out");

    std::vector<SheetItem> items;
    std::set<std::string> figureKeys;  // composed Quellons only may be foils
    for (const std::string& file : figureFiles)
        for (const HandFigure& figure : readFigures(file)) {
            if (!recordOnBoard(figure.record))
                throw UsageError(file + ":" + std::to_string(figure.line) + ": figure " + figure.id +
                                 " does not lie on the board; run figures");
            items.push_back({"", "figure " + figure.id, figure.record});
            figureKeys.insert(silhouetteKey(figureOf(figure.record)));
        }
    for (const std::string& file : knownFiles)
        for (const HandFigure& figure : readFigures(file))
            if (recordOnBoard(figure.record))
                figureKeys.insert(silhouetteKey(figureOf(figure.record)));
    const std::vector<PuzzleRecord> records = readCatalogue(cataloguePath);
    std::vector<int> composed;
    for (size_t n = 0; n < records.size(); ++n)
        if (recordOnBoard(records[n]) && !figureKeys.count(silhouetteKey(figureOf(records[n]))))
            composed.push_back(static_cast<int>(n + 1));
    const size_t figures = items.size();
    const size_t foils = (figures * static_cast<size_t>(foilPercent) + static_cast<size_t>(99 - foilPercent)) /
                         static_cast<size_t>(100 - foilPercent);
    if (composed.size() < foils)
        throw UsageError(cataloguePath + " holds " + std::to_string(composed.size()) + " composed Quellons, " +
                         std::to_string(foils) + " foils are needed");

    // Plain modulo on mt19937, as the composer does: the same sheets with
    // any standard library.
    std::mt19937 random(static_cast<uint32_t>(seed));
    for (size_t k = 0; k < foils; ++k) {
        const size_t pick = k + random() % (composed.size() - k);
        std::swap(composed[k], composed[pick]);
        const int n = composed[k];
        items.push_back({"", "quellon " + std::to_string(n), records[static_cast<size_t>(n - 1)]});
    }
    for (size_t k = items.size(); k > 1; --k)
        std::swap(items[k - 1], items[random() % k]);

    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error)
        throw UsageError(outDir + ": cannot be made: " + error.message());
    const size_t pageSize = static_cast<size_t>(perPage);
    const size_t pages = (items.size() + pageSize - 1) / pageSize;
    if (pages > 26)
        throw UsageError("more than 26 pages; give --per-page a larger number");
    std::string key = "# label, then what the silhouette is: a figure of the figures files or a composed Quellon\n";
    for (size_t page = 0; page < pages; ++page) {
        const char letter = static_cast<char>('A' + page);
        std::vector<SheetItem> onPage;
        for (size_t k = page * pageSize; k < std::min(items.size(), (page + 1) * pageSize); ++k) {
            const size_t place = k - page * pageSize + 1;
            items[k].label = std::string(1, letter) + (place < 10 ? "0" : "") + std::to_string(place);
            key += items[k].label + " " + items[k].source + "\n";
            onPage.push_back(items[k]);
        }
        writeBytes(outDir + "/sheet-" + letter + ".png", namingPage(onPage));
    }
    writeBytes(outDir + "/key.txt", std::vector<uint8_t>(key.begin(), key.end()));
    std::cout << outDir << ": " << pages << " sheets of " << items.size() << " silhouettes (" << figures << " figures, "
              << foils << " composed Quellons as foils), key in " << outDir << "/key.txt\n";
    return 0;
}

// The answers of a round scored against the synonyms fixed before it.
int namingScore(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    std::string output;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size())
                throw UsageError("-o needs a file");
            output = args[++i];
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() < 3)
        throw UsageError("naming-score needs a key, a synonyms file and at least one answers file");
    const std::map<std::string, std::string> key = readNamingKey(files[0]);
    const auto synonyms = readSynonyms(files[1]);
    std::vector<std::map<std::string, std::string>> answers;
    for (size_t k = 2; k < files.size(); ++k) {
        answers.push_back(readAnswers(files[k]));
        for (const auto& [label, answer] : answers.back())
            if (!key.count(label))
                throw NamingFileError(files[k] + ": label " + label + " is not on the sheets");
    }
    const std::string table = scoresTable(scoreRound(key, synonyms, answers));
    if (output.empty())
        std::cout << table;
    else
        writeBytes(output, std::vector<uint8_t>(table.begin(), table.end()));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (all.empty()) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    const std::string command = all[0];
    const std::vector<std::string> args(all.begin() + 1, all.end());
    try {
        if (command == "generate")
            return generate(args);
        if (command == "validate")
            return validate(args);
        if (command == "show")
            return show(args);
        if (command == "stats")
            return stats(args);
        if (command == "figures")
            return figures(args);
        if (command == "solve")
            return solve(args);
        if (command == "naming-sheets")
            return namingSheets(args);
        if (command == "naming-score")
            return namingScore(args);
        throw UsageError("unknown command " + command);
    } catch (const UsageError& error) {
        std::cerr << "quellon-catalogue: " << error.what() << "\n" << kUsage;
        return kExitUsage;
    } catch (const std::exception& error) {
        std::cerr << "quellon-catalogue: " << error.what() << "\n";
        return kExitUsage;
    }
}
