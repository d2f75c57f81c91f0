// The one channel the sound effects play on: the output pulls its samples
// from here at its own pace, on its own thread, and gets the current sound
// followed by silence. Starting a sound replaces whatever of the previous
// one has not been pulled yet, so a sound is cut only by the next sound,
// never by the output's latency. Plain C++: the caller does the locking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quellon {

class EffectChannel {
public:
    // The sounds' samples (numbered from 1), already in the output's format.
    // `silence` is the byte value of a silent sample (0x80 for unsigned 8 bit).
    explicit EffectChannel(std::vector<std::vector<uint8_t>> sounds, uint8_t silence = 0);

    // Starts sound n from its beginning; any other number stops the channel.
    void start(int n);
    // Fills `out` with the next bytes of the current sound, then silence.
    // Called by the output's thread whenever it needs more.
    void fill(std::span<uint8_t> out);

    // The sound still being pulled (0: none, or it has been pulled whole).
    int current() const { return current_; }
    int soundCount() const { return static_cast<int>(sounds_.size()); }
    const std::vector<uint8_t>& samples(int n) const;

private:
    std::vector<std::vector<uint8_t>> sounds_;
    uint8_t silence_;
    int current_ = 0;
    size_t position_ = 0;
};

}  // namespace quellon
