#include "media/effect_channel.h"

#include <algorithm>

namespace quellon {

namespace {
const std::vector<uint8_t> kNoSamples;
}

EffectChannel::EffectChannel(std::vector<std::vector<uint8_t>> sounds, uint8_t silence)
    : sounds_(std::move(sounds)),
      silence_(silence)
{}

const std::vector<uint8_t>& EffectChannel::samples(int n) const
{
    return n >= 1 && n <= soundCount() ? sounds_[static_cast<size_t>(n - 1)] : kNoSamples;
}

void EffectChannel::start(int n)
{
    current_ = samples(n).empty() ? 0 : n;
    position_ = 0;
}

void EffectChannel::fill(std::span<uint8_t> out)
{
    size_t done = 0;
    if (current_ != 0) {
        const std::vector<uint8_t>& sound = samples(current_);
        done = std::min(out.size(), sound.size() - position_);
        std::copy_n(sound.begin() + static_cast<std::ptrdiff_t>(position_), done, out.begin());
        position_ += done;
        if (position_ == sound.size())
            start(0);
    }
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(done), out.end(), silence_);
}

}  // namespace quellon
