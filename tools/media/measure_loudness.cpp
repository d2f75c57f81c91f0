// Reads raw interleaved 16-bit little-endian PCM (as `parec --raw` records a
// sink's monitor) and prints its integrated loudness and peak, the figures a
// loudness meter shows.
//
// Usage: measure_loudness [--rate N] [--channels N] <file or ->
#include "loudness.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    using namespace quellon::media;
    Pcm pcm;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--rate" || arg == "--channels") && i + 1 < argc) {
            (arg == "--rate" ? pcm.rate : pcm.channels) = std::stoi(argv[++i]);
        } else if (path.empty()) {
            path = arg;
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty() || pcm.rate < 8000 || pcm.channels < 1) {
        std::cerr << "usage: measure_loudness [--rate N] [--channels N] <raw s16le file or ->\n";
        return 2;
    }
    std::string bytes;
    if (path == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "measure_loudness: cannot read " << path << "\n";
            return 1;
        }
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    pcm.samples.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < pcm.samples.size(); ++i)
        pcm.samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    std::printf("%.1f s  integrated %.1f LUFS  peak %.1f dBFS\n", static_cast<double>(pcm.frames()) / pcm.rate,
                integratedLoudness(pcm), peakDecibels(pcm, 0, pcm.frames()));
    return 0;
}
