// Loudness as a broadcast meter reads it (K-weighted, gated, in LUFS), and
// the plain peak, of interleaved 16-bit PCM as recorded from a sound server.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quellon::media {

struct Pcm {
    std::vector<std::int16_t> samples;  // interleaved
    int channels = 2;
    int rate = 48000;

    std::size_t frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
};

// Below every meter's floor: what an empty or silent stretch reads.
inline constexpr double kSilence = -200.0;

// Integrated loudness: 400 ms blocks every 100 ms, gated at -70 LUFS and then
// 10 LU below the level of the blocks that passed. kSilence when nothing passes.
double integratedLoudness(const Pcm& pcm);
// The K-weighted level of frames [first, first + count) taken as one block,
// ungated: the loudness of a sound shorter than a meter's block.
double spanLoudness(const Pcm& pcm, std::size_t first, std::size_t count);
// The highest absolute sample of frames [first, first + count), in dBFS.
double peakDecibels(const Pcm& pcm, std::size_t first, std::size_t count);
// The first frame at or after `from` whose sample on any channel reaches
// `threshold` dBFS; frames() when none does.
std::size_t firstFrameAbove(const Pcm& pcm, std::size_t from, double threshold);
// The frame after which nothing reaches `threshold` dBFS for `quiet` frames,
// searching from `from`; frames() when the signal never falls quiet.
std::size_t endOfSound(const Pcm& pcm, std::size_t from, double threshold, std::size_t quiet);

}  // namespace quellon::media
