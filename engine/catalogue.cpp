// Catalogue and saved-game files.
//
// Catalogue "zqln.dat": 24-byte records, no header. Record k (from 1) is
// Quellon k: eight pieces of three bytes each (x, y, orientation). At most 950
// records are read; a trailing partial record is ignored. The catalogue is
// stamped without bounds checks later, so a record with any piece off the
// board (or an orientation above 15) refuses the whole file, as does a file
// without a single whole record.
//
// Saved game "<games>/<name>.zql": byte k-1 is the progress byte of Quellon k,
// 950 bytes when written. A shorter file leaves the missing Quellons at 0;
// bytes past the 950th are ignored.
#include "engine/catalogue.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include "engine/orientation_table.h"

namespace quellon {

namespace fs = std::filesystem;

namespace {

std::string joinPath(const std::string& dir, std::string_view name)
{
    if (dir.empty())
        return std::string(name);
    std::string path = dir;
    if (path.back() != '/')
        path += '/';
    path += name;
    return path;
}

// Up to `size` bytes, fewer at the end of the file; -1 on a read error.
ssize_t readUpTo(int fd, uint8_t* data, size_t size)
{
    size_t filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(fd, data + filled, size - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(filled);
}

// Reads at most maxBytes: whatever lies beyond is ignored anyway, and a huge
// file must not cost the memory to hold it.
bool readFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return false;
    // Plain reads: a stream's set-up (its locale) cost more than the read,
    // and the catalogue is read before the window shows.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bytes.resize(maxBytes);
    const ssize_t filled = readUpTo(fd, bytes.data(), maxBytes);
    ::close(fd);
    if (filled < 0)
        return false;
    bytes.resize(static_cast<size_t>(filled));
    return true;
}

bool writeAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

bool recordOnBoard(const PuzzleRecord& record)
{
    // The bounds test reads no grid: one empty board serves every record
    // (making a board per record was most of the start-up's catalogue check).
    static const Board board;
    for (const PieceState& piece : record.pieces)
        if (!board.inBounds(piece.x, piece.y, piece.orientation))
            return false;
    return true;
}

CatalogueResult parseCatalogue(GameData& game, const std::vector<uint8_t>& bytes)
{
    const int count = static_cast<int>(std::min<size_t>(bytes.size() / kRecordSize, kMaxQuellons));
    if (count == 0)
        return {CatalogueStatus::Empty, 0};
    for (int n = 1; n <= count; ++n) {
        PuzzleRecord record;
        const uint8_t* data = bytes.data() + static_cast<size_t>(n - 1) * kRecordSize;
        for (int k = 0; k < kPieceCount; ++k)
            record.pieces[static_cast<size_t>(k)] = PieceState{data[3 * k], data[3 * k + 1], data[3 * k + 2]};
        if (!recordOnBoard(record))
            return {CatalogueStatus::OffBoard, n};
        game.catalogue[static_cast<size_t>(n)] = record;
    }
    game.quellonCount = count;
    return {};
}

CatalogueResult loadCatalogue(GameData& game)
{
    std::vector<uint8_t> bytes;
    if (!readFile(joinPath(game.programDir, kCatalogueFileName), kMaxQuellons * kRecordSize, bytes))
        return {CatalogueStatus::Missing, 0};
    return parseCatalogue(game, bytes);
}

Message catalogueFailureMessage(const CatalogueResult& result)
{
    const std::string number = std::to_string(result.badQuellon);
    switch (result.status) {
    case CatalogueStatus::Ok:
        break;
    case CatalogueStatus::Missing:
        return {MessageCode::Notice, "Datei ZQLN.DAT konnte nicht gefunden werden. Programm wird abgebrochen.",
                "Can't find file ZQLN.DAT. Program aborted."};
    case CatalogueStatus::Empty:
        return {MessageCode::Notice, "Datei ZQLN.DAT enth\u00e4lt kein Quellon. Programm wird abgebrochen.",
                "File ZQLN.DAT holds no Quellon. Program aborted."};
    case CatalogueStatus::OffBoard:
        return {MessageCode::Notice,
                "Datei ZQLN.DAT ist besch\u00e4digt: Quellon " + number +
                    " liegt nicht auf dem Brett. Programm wird abgebrochen.",
                "File ZQLN.DAT is damaged: Quellon " + number + " does not lie on the board. Program aborted."};
    }
    return {};
}

bool isSafeGameName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string gamesDirectory(const GameData& game)
{
    return game.gamesDir.empty() ? joinPath(game.programDir, kGamesDirName) : game.gamesDir;
}

std::string savedGamePath(const GameData& game, std::string_view name)
{
    return joinPath(gamesDirectory(game), std::string(name) + kSavedGameExtension);
}

LoadResult loadSavedGame(GameData& game, std::string_view name)
{
    std::vector<uint8_t> bytes;
    if (!isSafeGameName(name) || !readFile(savedGamePath(game, name), kSavedGameSize, bytes)) {
        // The name may be gameName itself: compose the message before emptying it.
        LoadResult failure{false,
                           {MessageCode::Notice, "Fehler beim Laden des Spiels " + std::string(name),
                            "Error occured while loading file " + std::string(name)}};
        game.gameName.clear();
        return failure;
    }
    std::fill(game.progressTable.begin(), game.progressTable.end(), uint8_t{0});
    const size_t count = std::min<size_t>(bytes.size(), kSavedGameSize);
    std::copy_n(bytes.begin(), count, game.progressTable.begin() + 1);
    return {true, {}};
}

std::string savedGameTempName(std::string_view name)
{
    // Of one short length whatever the name, so that every name the file
    // system takes for the game can be saved (one of 251 bytes makes a file
    // name of 255). FNV-1a: the same name gets the same temporary file in
    // every run, and a save finds what an interrupted one left. A dot-name
    // with another extension never shows in the list of games.
    uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(".zql-new-") + digits;
}

bool writeSavedGame(const GameData& game, std::string_view name)
{
    if (!isSafeGameName(name))
        return false;
    const std::string dir = gamesDirectory(game);
    std::error_code error;
    fs::create_directories(dir, error);
    const std::string finalPath = savedGamePath(game, name);
    const std::string tempPath = joinPath(dir, savedGameTempName(name));

    // A fresh file, never whatever a leftover name may point to.
    ::unlink(tempPath.c_str());
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, game.progressTable.data() + 1, kSavedGameSize);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = std::rename(tempPath.c_str(), finalPath.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

}  // namespace quellon
