// Blind naming rounds: sheets of silhouettes under neutral labels, shuffled
// among composed Quellons, for namers who have never seen the figures' names;
// and the scoring of their answers against synonyms fixed before the round.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/game_data.h"

namespace quellon::catalogue {

// A file of a naming round that cannot be read; the message names the file
// and the line.
struct NamingFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One silhouette on a sheet: a figure of a figures file ("figure ID") or a
// composed Quellon shown as a foil ("quellon N").
struct SheetItem {
    std::string label;  // A01, A02, ... (the page's letter, then the place)
    std::string source;
    PuzzleRecord record;
};

constexpr int kSheetColumns = 6;
constexpr int kSheetRows = 5;

// A page of up to kSheetColumns x kSheetRows silhouettes, each as the
// pattern window shows it (black on silver, the 50 x 50 cells around the
// board's centre, not turned) with its label under it: a grey-scale PNG.
std::vector<uint8_t> namingPage(const std::vector<SheetItem>& items);

// The label -> source lines of a key file ("A01 figure house").
std::map<std::string, std::string> readNamingKey(const std::string& path);

// Synonyms fixed before the round: "ID: name, other name" per line; '#'
// starts a comment. Names are compared in normalised form (normalName).
std::map<std::string, std::vector<std::string>> readSynonyms(const std::string& path);

// One namer's answers: "A01: answer" per line; "?" or an empty answer is no
// name. A label given twice is an error.
std::map<std::string, std::string> readAnswers(const std::string& path);

// Lower case, punctuation to blanks, blanks collapsed, a leading article
// dropped: "An  Arrow!" -> "arrow".
std::string normalName(const std::string& answer);

// True when the answer names one of the synonyms: the same words, or for a
// synonym of three letters or more, those words in a row inside the answer
// ("small house" names "house"; "letter z" does not name "n").
bool namesAsIntended(const std::string& answer, const std::vector<std::string>& synonyms);

struct ItemScore {
    std::string label;
    std::string source;       // "figure ID" or "quellon N"
    int namers = 0;           // answer files
    int intended = 0;         // answers among the synonyms (figures only)
    int unnamed = 0;          // "?" or no answer
    std::string otherAnswer;  // the most common answer not among the synonyms
    int otherCount = 0;
};

// Every item of the key scored over all answer files, in label order. A
// figure without synonyms is an error: the list must be complete before the
// round.
std::vector<ItemScore> scoreRound(const std::map<std::string, std::string>& key,
                                  const std::map<std::string, std::vector<std::string>>& synonyms,
                                  const std::vector<std::map<std::string, std::string>>& answers);

// The scores as a Markdown table, figures first, then the foils with what
// namers saw in them, and a summary line.
std::string scoresTable(const std::vector<ItemScore>& scores);

}  // namespace quellon::catalogue
