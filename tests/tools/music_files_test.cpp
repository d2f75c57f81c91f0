// The shipped music, read back from the files as the game gets them: they
// are what the tool writes today, valid Standard MIDI Files of three to five
// minutes that FluidSynth plays to their end; the melody on the strong beats
// belongs to the chord marked there (or is a passing note or suspension
// that resolves by step), the accompaniment plays only the marked chords,
// no four-bar phrase comes back unchanged more than twice, and the level
// rises and falls by at least 6 dB between 5-second windows.
#include "composer.h"
#include "music_theory.h"

#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>

using namespace quellon::media;

namespace {

const std::filesystem::path kMusicDir = QUELLON_MUSIC_DIR;
const char* const kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kGrid = kTicksPerEighth / 4;  // every written note starts on a 32nd

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Note {
    int start;
    int end;
    int pitch;
    int velocity;
};

struct Song {
    Metre metre;
    std::map<int, double> tempo;         // tick -> quarters a minute
    std::map<int, std::string> markers;  // tick -> chord symbol
    std::map<std::string, std::vector<Note>> tracks;
    int endTick = 0;
};

// A strict reader: chunk lengths, running status, every note ended, an
// end-of-track as each track's last event, and nothing on the drum channel.
// Empty when anything is wrong.
class Reader {
public:
    explicit Reader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::optional<Song> read()
    {
        if (!tag("MThd") || u32() != 6 || u16() != 1)
            return std::nullopt;
        const int tracks = u16();
        if (u16() != kTicksPerQuarter || !ok_)
            return std::nullopt;
        Song song;
        for (int t = 0; t < tracks; ++t)
            if (!track(song))
                return std::nullopt;
        if (pos_ != bytes_.size())
            return std::nullopt;
        return song;
    }

private:
    bool track(Song& song)
    {
        if (!tag("MTrk"))
            return false;
        const std::size_t length = u32();
        const std::size_t end = pos_ + length;
        if (!ok_ || end > bytes_.size())
            return false;
        std::string name;
        std::vector<Note> notes;
        std::map<int, Note> sounding;  // channel * 128 + pitch
        int tick = 0;
        int status = 0;
        bool ended = false;
        while (pos_ < end && ok_ && !ended) {
            tick += varLength();
            if (peek() & 0x80)
                status = byte();
            if (status == 0xFF) {
                const int type = byte();
                const int length = varLength();
                if (pos_ + static_cast<std::size_t>(length) > end)
                    return false;
                const std::string data(bytes_.begin() + static_cast<long>(pos_),
                                       bytes_.begin() + static_cast<long>(pos_) + length);
                pos_ += static_cast<std::size_t>(length);
                if (type == 0x03)
                    name = data;
                if (type == 0x06)
                    song.markers[tick] = data;
                if (type == 0x2F)
                    ended = true;
                if (type == 0x58 && data.size() == 4)
                    song.metre = {data[0], 1 << data[1]};
                if (type == 0x51 && data.size() == 3)
                    song.tempo[tick] = 60e6 / ((quint(data[0]) << 16) | (quint(data[1]) << 8) | quint(data[2]));
                status = 0;
            } else if ((status & 0xF0) == 0x90 || (status & 0xF0) == 0x80) {
                if ((status & 0x0F) == 9)
                    return false;  // no drum kit: music to think by
                const int pitch = byte();
                const int velocity = byte();
                const int key = (status & 0x0F) * 128 + pitch;
                const bool on = (status & 0xF0) == 0x90 && velocity > 0;
                if (on && !sounding.emplace(key, Note{tick, 0, pitch, velocity}).second)
                    return false;
                if (!on) {
                    const auto found = sounding.find(key);
                    if (found == sounding.end())
                        return false;
                    notes.push_back({found->second.start, tick, pitch, found->second.velocity});
                    sounding.erase(found);
                }
            } else if ((status & 0xF0) == 0xB0 || (status & 0xF0) == 0xE0 || (status & 0xF0) == 0xA0) {
                pos_ += 2;
            } else if ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) {
                pos_ += 1;
            } else {
                return false;
            }
        }
        if (!ok_ || !ended || pos_ != end || !sounding.empty())
            return false;
        song.endTick = std::max(song.endTick, tick);
        std::sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) { return a.start < b.start; });
        song.tracks[name] = std::move(notes);
        return true;
    }

    static std::uint32_t quint(char c) { return static_cast<std::uint8_t>(c); }
    int peek() { return pos_ < bytes_.size() ? bytes_[pos_] : (ok_ = false, 0); }
    int byte() { return pos_ < bytes_.size() ? bytes_[pos_++] : (ok_ = false, 0); }
    int u16()
    {
        const int high = byte();
        return (high << 8) | byte();
    }
    std::size_t u32()
    {
        const auto high = static_cast<std::size_t>(u16());
        return (high << 16) | static_cast<std::size_t>(u16());
    }
    bool tag(const char* name)
    {
        return byte() == name[0] && byte() == name[1] && byte() == name[2] && byte() == name[3];
    }
    int varLength()
    {
        int value = 0;
        for (int i = 0; i < 4; ++i) {
            const int b = byte();
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return value;
        }
        ok_ = false;
        return 0;
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

double secondsAt(const Song& song, int tick)
{
    double seconds = 0;
    int from = 0;
    double bpm = 120;
    for (const auto& [at, value] : song.tempo) {
        if (at >= tick)
            break;
        seconds += (at - from) / static_cast<double>(kTicksPerQuarter) * 60.0 / bpm;
        from = at;
        bpm = value;
    }
    return seconds + (tick - from) / static_cast<double>(kTicksPerQuarter) * 60.0 / bpm;
}

struct Piece {
    std::string file;
    Song song;
    const std::string& symbolAt(int tick) const { return std::prev(song.markers.upper_bound(tick))->second; }
    Chord chordAt(int tick) const { return *parseChord(symbolAt(tick)); }
    // Bars are counted from the first chord; notes come up to a few ticks late.
    int origin() const { return song.markers.begin()->first; }
    int written(int tick) const { return tick - (tick - origin()) % kGrid; }
    const std::vector<Note>& melody() const { return song.tracks.at("Melody"); }
};

class MusicFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const auto& entry : std::filesystem::directory_iterator(kMusicDir)) {
            if (entry.path().extension() != ".mid")
                continue;
            auto song = Reader(readBytes(entry.path())).read();
            ASSERT_TRUE(song) << entry.path() << " is not a valid Standard MIDI File";
            ASSERT_TRUE(song->tracks.count("Melody") && song->tracks.count("Accompaniment")) << entry.path();
            ASSERT_FALSE(song->markers.empty()) << entry.path();
            pieces_.push_back({entry.path().filename().string(), std::move(*song)});
        }
        std::sort(pieces_.begin(), pieces_.end(), [](const Piece& a, const Piece& b) { return a.file < b.file; });
    }
    static std::vector<Piece> pieces_;
};
std::vector<Piece> MusicFiles::pieces_;

TEST_F(MusicFiles, AreWhatTheToolWritesAndNothingElse)
{
    const auto written = allPieces();
    ASSERT_EQ(pieces_.size(), written.size());
    std::set<std::string> keys;
    std::set<double> tempi;
    std::set<std::pair<int, int>> metres;
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(pieces_[i].file, written[i].file) << "the play order is the order of the names";
        EXPECT_TRUE(compose(written[i]).file == readBytes(kMusicDir / written[i].file))
            << written[i].file << " differs from what make_music writes now";
        keys.insert(written[i].finalChord);
        tempi.insert(written[i].quartersPerMinute);
        metres.insert({pieces_[i].song.metre.numerator, pieces_[i].song.metre.denominator});
    }
    EXPECT_EQ(keys.size(), written.size()) << "every piece in its own key";
    EXPECT_EQ(tempi.size(), written.size()) << "every piece at its own tempo";
    EXPECT_EQ(metres.size(), written.size()) << "every piece in its own metre";
}

TEST_F(MusicFiles, StrongBeatsAgreeWithTheirChords)
{
    for (const Piece& p : pieces_) {
        const auto& notes = p.melody();
        const int bar = p.song.metre.barTicks();
        const auto strong = p.song.metre.strongBeats();
        int checked = 0;
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const int at = p.written(notes[i].start);
            const bool onStrongBeat = std::find(strong.begin(), strong.end(), (at - p.origin()) % bar) != strong.end();
            // A note held for a whole beat is heard against the chord as much as one on a strong beat.
            const bool heldForABeat = notes[i].end - at >= p.song.metre.beatTicks() - 40;
            if (!onStrongBeat && !heldForABeat)
                continue;
            ++checked;
            const Chord chord = p.chordAt(at);
            if (chord.contains(notes[i].pitch))
                continue;
            const bool prepared = i > 0 && std::abs(notes[i].pitch - notes[i - 1].pitch) <= 2;
            const bool resolved = i + 1 < notes.size() && std::abs(notes[i + 1].pitch - notes[i].pitch) >= 1 &&
                                  std::abs(notes[i + 1].pitch - notes[i].pitch) <= 2 &&
                                  p.chordAt(p.written(notes[i + 1].start)).contains(notes[i + 1].pitch);
            // A semitone or a tritone against the root grates even when it resolves.
            const int interval = ((notes[i].pitch - chord.root) % 12 + 12) % 12;
            const bool mild = interval != 1 && interval != 6 && interval != 11;
            EXPECT_TRUE(prepared && resolved && mild) << p.file << ": note " << notes[i].pitch << " in bar "
                                                      << (at - p.origin()) / bar + 1 << " against " << p.symbolAt(at);
        }
        EXPECT_GT(checked, 100) << p.file;
    }
}

TEST_F(MusicFiles, AccompanimentPlaysOnlyTheMarkedChords)
{
    for (const Piece& p : pieces_) {
        for (const Note& note : p.song.tracks.at("Accompaniment")) {
            const int at = p.written(note.start);
            EXPECT_TRUE(p.chordAt(at).contains(note.pitch))
                << p.file << ": accompaniment " << note.pitch << " at tick " << at;
        }
    }
}

TEST_F(MusicFiles, NoFourBarPhraseComesBackUnchangedMoreThanTwice)
{
    for (const Piece& p : pieces_) {
        const int bar = p.song.metre.barTicks();
        std::map<int, std::vector<std::array<int, 3>>> bars;  // bar -> (offset, pitch, length)
        for (const Note& n : p.melody()) {
            const int at = p.written(n.start);
            const int length = (n.end - at + kGrid - 1) / kGrid;
            bars[(at - p.origin()) / bar].push_back({(at - p.origin()) % bar, n.pitch, length});
        }
        std::map<std::vector<std::array<int, 3>>, int> phrases;
        const int lastBar = bars.rbegin()->first;
        for (int first = 0; first + 3 <= lastBar; ++first) {
            std::vector<std::array<int, 3>> phrase;
            for (int b = first; b < first + 4; ++b)
                for (auto n : bars[b])
                    phrase.push_back({n[0] + (b - first) * bar, n[1], n[2]});
            if (phrase.size() >= 4)
                ++phrases[phrase];
        }
        for (const auto& [phrase, count] : phrases)
            EXPECT_LE(count, 2) << p.file << ": the phrase starting with note " << phrase[0][1] << " comes " << count
                                << " times";
    }
}

TEST_F(MusicFiles, TimingAndVelocityAreHumanisedByALittle)
{
    for (const Piece& p : pieces_) {
        std::set<int> lateTicks;
        std::set<int> velocities;
        for (const auto& [name, notes] : p.song.tracks) {
            for (const Note& n : notes) {
                const double late = secondsAt(p.song, n.start) - secondsAt(p.song, p.written(n.start));
                EXPECT_LE(late, 0.010) << p.file;
                lateTicks.insert(n.start - p.written(n.start));
                velocities.insert(n.velocity);
            }
        }
        EXPECT_GE(lateTicks.size(), 3U) << p.file;
        EXPECT_GE(velocities.size(), 20U) << p.file;
    }
}

// Rendered fast (no reverb, 22 050 Hz) as far as FluidSynth's player goes.
TEST_F(MusicFiles, FluidSynthPlaysEachToItsEndWithRiseAndFall)
{
    constexpr int kRate = 22050;
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_settings_setint(settings, "synth.reverb.active", 0);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_settings_setnum(settings, "synth.gain", 0.6);
    fluid_settings_setint(settings, "player.reset-synth", 1);
    fluid_synth_t* synth = new_fluid_synth(settings);
    ASSERT_NE(fluid_synth_sfload(synth, kSoundFont, 1), FLUID_FAILED);
    for (const Piece& p : pieces_) {
        fluid_player_t* player = new_fluid_player(synth);
        ASSERT_EQ(fluid_player_add(player, (kMusicDir / p.file).c_str()), FLUID_OK);
        fluid_player_play(player);
        std::vector<float> left(1024), right(1024);
        std::vector<double> secondEnergy;  // mean square of each second
        double energy = 0;
        long frames = 0;
        while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && frames < 400L * kRate) {
            fluid_synth_write_float(synth, 1024, left.data(), 0, 1, right.data(), 0, 1);
            for (int i = 0; i < 1024; ++i, ++frames) {
                energy += 0.5 * (left[i] * left[i] + right[i] * right[i]);
                if ((frames + 1) % kRate == 0)
                    secondEnergy.push_back(energy / kRate), energy = 0;
            }
        }
        delete_fluid_player(player);
        const double expected = secondsAt(p.song, p.song.endTick);
        EXPECT_GE(expected, 180) << p.file;
        EXPECT_LE(expected, 300) << p.file;
        // The player ends once the last notes have faded, a few seconds after the last tick.
        const double played = frames / static_cast<double>(kRate);
        EXPECT_GE(played, expected) << p.file << " stopped early";
        EXPECT_LE(played, expected + 6) << p.file << " ran on";

        // 5-second windows between the first and the last note.
        const int last = static_cast<int>(secondsAt(p.song, p.song.markers.rbegin()->first));
        double quiet = 1e9, loud = -1e9;
        for (int s = 1; s + 5 <= last && s + 5 <= static_cast<int>(secondEnergy.size()); ++s) {
            double sum = 0;
            for (int k = s; k < s + 5; ++k)
                sum += secondEnergy[static_cast<std::size_t>(k)];
            const double level = 10 * std::log10(sum / 5 + 1e-12);
            quiet = std::min(quiet, level);
            loud = std::max(loud, level);
        }
        EXPECT_GE(loud - quiet, 6.0) << p.file;
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
}

}  // namespace
