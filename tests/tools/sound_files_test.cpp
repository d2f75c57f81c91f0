// The shipped sound effects, judged from the files: every one starts and
// ends at silence, has no click (a step between neighbouring samples far
// larger than the waveform just before it made), and peaks below -3 dBFS.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

const std::filesystem::path kSoundsDir = QUELLON_SOUNDS_DIR;
constexpr int kFullScale = 32768;

std::uint32_t little(const std::vector<std::uint8_t>& b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | b[at + static_cast<std::size_t>(i)];
    return value;
}

// The samples of a 16-bit mono PCM wave with one "fmt " and one "data"
// chunk, as make_sounds writes them; empty for anything else.
std::vector<int> samples(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), {}};
    if (b.size() < 44 || !std::equal(b.begin(), b.begin() + 4, "RIFF") ||
        !std::equal(b.begin() + 8, b.begin() + 16, "WAVEfmt ") || little(b, 20, 2) != 1 || little(b, 22, 2) != 1 ||
        little(b, 34, 2) != 16 || !std::equal(b.begin() + 36, b.begin() + 40, "data") ||
        little(b, 40, 4) + 44 != b.size())
        return {};
    std::vector<int> pcm;
    for (std::size_t at = 44; at + 1 < b.size(); at += 2)
        pcm.push_back(static_cast<std::int16_t>(little(b, at, 2)));
    return pcm;
}

std::vector<std::filesystem::path> waves()
{
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(kSoundsDir))
        if (entry.path().extension() == ".wav")
            found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

TEST(SoundFiles, StartAndEndAtSilenceAndPeakBelowMinusThreeDecibels)
{
    ASSERT_EQ(waves().size(), 6U);
    for (const auto& path : waves()) {
        const auto pcm = samples(path);
        ASSERT_GT(pcm.size(), 100U) << path;
        EXPECT_LE(std::abs(pcm.front()), kFullScale / 200) << path;
        EXPECT_LE(std::abs(pcm.back()), kFullScale / 200) << path;
        const int peak =
            std::abs(*std::max_element(pcm.begin(), pcm.end(), [](int a, int b) { return std::abs(a) < std::abs(b); }));
        EXPECT_LT(20 * std::log10(peak / static_cast<double>(kFullScale)), -3.0) << path;
    }
}

// A partial that stops while it still sounds leaves one step much larger
// than any other step the waveform makes within two milliseconds of it.
TEST(SoundFiles, NoStepLargerThanTheWaveformMakes)
{
    constexpr int kWindow = 44;                 // 2 ms at 22 050 Hz
    constexpr int kAudible = kFullScale / 400;  // smaller steps are lost in the waveform
    for (const auto& path : waves()) {
        const auto pcm = samples(path);
        std::vector<int> steps(pcm.size(), 0);
        for (std::size_t i = 1; i < pcm.size(); ++i)
            steps[i] = std::abs(pcm[i] - pcm[i - 1]);
        std::size_t click = 0;
        for (std::size_t i = 1; i < pcm.size() && click == 0; ++i) {
            int around = 0;
            for (std::size_t j = i > kWindow ? i - kWindow : 1; j < std::min(pcm.size(), i + kWindow); ++j)
                if (j != i)
                    around = std::max(around, steps[j]);
            if (steps[i] > std::max(2 * around, kAudible))
                click = i;
        }
        EXPECT_EQ(click, 0U) << path.filename() << ": a click at sample " << click;
    }
}

}  // namespace
