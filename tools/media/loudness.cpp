// K-weighting is a high shelf (+4 dB above about 1.7 kHz, the head's effect)
// followed by a high pass at about 38 Hz; the two biquads are designed for the
// recording's own rate, which gives the published coefficients at 48 kHz.
#include "loudness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace quellon::media {

namespace {

constexpr double kFullScale = 32768.0;
constexpr double kOffset = -0.691;  // makes a 1 kHz sine at full scale read -3.01 LUFS per channel
constexpr double kBlockSeconds = 0.4;
constexpr double kStepSeconds = 0.1;
constexpr double kAbsoluteGate = -70.0;
constexpr double kRelativeGate = -10.0;

struct Biquad {
    std::array<double, 3> b{};
    std::array<double, 3> a{};  // a[0] == 1
    double z1 = 0, z2 = 0;

    double run(double x)
    {
        const double y = b[0] * x + z1;
        z1 = b[1] * x - a[1] * y + z2;
        z2 = b[2] * x - a[2] * y;
        return y;
    }
};

Biquad highShelf(double rate)
{
    const double gain = 3.999843853973347, q = 0.7071752369554196, fc = 1681.974450955533;
    const double A = std::pow(10.0, gain / 40.0), w0 = 2 * std::numbers::pi * fc / rate;
    const double alpha = std::sin(w0) / (2 * q), c = std::cos(w0), s = 2 * std::sqrt(A) * alpha;
    const double a0 = (A + 1) - (A - 1) * c + s;
    Biquad f;
    f.b = {A * ((A + 1) + (A - 1) * c + s) / a0, -2 * A * ((A - 1) + (A + 1) * c) / a0,
           A * ((A + 1) + (A - 1) * c - s) / a0};
    f.a = {1.0, 2 * ((A - 1) - (A + 1) * c) / a0, ((A + 1) - (A - 1) * c - s) / a0};
    return f;
}

Biquad highPass(double rate)
{
    const double q = 0.5003270373238773, fc = 38.13547087602444;
    const double w0 = 2 * std::numbers::pi * fc / rate, alpha = std::sin(w0) / (2 * q), c = std::cos(w0);
    const double a0 = 1 + alpha;
    Biquad f;
    f.b = {1.0, -2.0, 1.0};
    f.a = {1.0, -2 * c / a0, (1 - alpha) / a0};
    return f;
}

// The K-weighted square of every frame of [first, first + count), summed
// over the channels (all weighted 1: stereo has no surround channels).
std::vector<double> weightedPower(const Pcm& pcm, std::size_t first, std::size_t count)
{
    const std::size_t channels = static_cast<std::size_t>(pcm.channels);
    std::vector<double> power(count, 0.0);
    // The filters settle on what came before the span, as in a running meter.
    const std::size_t settle = std::min<std::size_t>(first, static_cast<std::size_t>(pcm.rate / 10));
    for (std::size_t ch = 0; ch < channels; ++ch) {
        Biquad shelf = highShelf(pcm.rate), pass = highPass(pcm.rate);
        for (std::size_t i = first - settle; i < first + count; ++i) {
            const double y = pass.run(shelf.run(pcm.samples[i * channels + ch] / kFullScale));
            if (i >= first)
                power[i - first] += y * y;
        }
    }
    return power;
}

double toLufs(double meanPower) { return meanPower > 0 ? kOffset + 10 * std::log10(meanPower) : kSilence; }

}  // namespace

double integratedLoudness(const Pcm& pcm)
{
    const std::size_t frames = pcm.frames();
    const std::vector<double> power = weightedPower(pcm, 0, frames);
    const auto block = static_cast<std::size_t>(kBlockSeconds * pcm.rate);
    const auto step = static_cast<std::size_t>(kStepSeconds * pcm.rate);
    // Running sums make every block a subtraction.
    std::vector<double> sum(frames + 1, 0.0);
    for (std::size_t i = 0; i < frames; ++i)
        sum[i + 1] = sum[i] + power[i];
    std::vector<double> blocks;
    for (std::size_t start = 0; start + block <= frames; start += step) {
        const double mean = (sum[start + block] - sum[start]) / static_cast<double>(block);
        if (toLufs(mean) > kAbsoluteGate)
            blocks.push_back(mean);
    }
    if (blocks.empty())
        return kSilence;
    double total = 0;
    for (double b : blocks)
        total += b;
    const double gate = toLufs(total / static_cast<double>(blocks.size())) + kRelativeGate;
    double gated = 0;
    std::size_t passed = 0;
    for (double b : blocks)
        if (toLufs(b) > gate) {
            gated += b;
            ++passed;
        }
    return passed ? toLufs(gated / static_cast<double>(passed)) : kSilence;
}

double spanLoudness(const Pcm& pcm, std::size_t first, std::size_t count)
{
    count = std::min(count, pcm.frames() - std::min(first, pcm.frames()));
    if (count == 0)
        return kSilence;
    double total = 0;
    for (double p : weightedPower(pcm, first, count))
        total += p;
    return toLufs(total / static_cast<double>(count));
}

double peakDecibels(const Pcm& pcm, std::size_t first, std::size_t count)
{
    const std::size_t channels = static_cast<std::size_t>(pcm.channels);
    const std::size_t end = std::min(pcm.frames(), first + count) * channels;
    int peak = 0;
    for (std::size_t i = first * channels; i < end; ++i)
        peak = std::max(peak, std::abs(int(pcm.samples[i])));
    return peak > 0 ? 20 * std::log10(peak / kFullScale) : kSilence;
}

namespace {

bool loud(const Pcm& pcm, std::size_t frame, int level)
{
    const std::size_t channels = static_cast<std::size_t>(pcm.channels);
    for (std::size_t ch = 0; ch < channels; ++ch)
        if (std::abs(int(pcm.samples[frame * channels + ch])) >= level)
            return true;
    return false;
}

int sampleLevel(double decibels) { return std::max(1, int(std::lround(kFullScale * std::pow(10.0, decibels / 20)))); }

}  // namespace

std::size_t firstFrameAbove(const Pcm& pcm, std::size_t from, double threshold)
{
    const int level = sampleLevel(threshold);
    for (std::size_t i = from; i < pcm.frames(); ++i)
        if (loud(pcm, i, level))
            return i;
    return pcm.frames();
}

std::size_t endOfSound(const Pcm& pcm, std::size_t from, double threshold, std::size_t quiet)
{
    const int level = sampleLevel(threshold);
    std::size_t last = from;
    for (std::size_t i = from; i < pcm.frames(); ++i) {
        if (loud(pcm, i, level))
            last = i + 1;
        else if (i - last >= quiet)
            return last;
    }
    return pcm.frames();
}

}  // namespace quellon::media
