// Text and PNG pictures of a Quellon, sampled from the piece corners.
#include "tools/catalogue/picture.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "engine/silhouette.h"

namespace quellon::catalogue {

namespace {

constexpr int kSamples = 4;  // per cell and direction in the text picture

// Point-in-triangle, edges included.
bool inside(const std::array<Point, 3>& c, double x, double y)
{
    auto side = [&](Point a, Point b) { return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x); };
    const double s0 = side(c[0], c[1]);
    const double s1 = side(c[1], c[2]);
    const double s2 = side(c[2], c[0]);
    return (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
}

double distanceToSegment(Point a, Point b, double x, double y)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(a.x + t * dx - x, a.y + t * dy - y);
}

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t crc32(const uint8_t* data, size_t size)
{
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data)
{
    appendBigEndian(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    appendBigEndian(png, crc32(png.data() + start, png.size() - start));
}

}  // namespace

std::string textPicture(const PuzzleRecord& record)
{
    const Figure figure = figureOf(record);
    const CodeImage image = stampFigure(figure);
    std::vector<std::array<Point, 3>> corners;
    for (const PiecePlace& piece : figure)
        corners.push_back(pieceCorners(piece));

    std::ostringstream out;
    out << "columns " << image.left << ".." << image.left + image.width - 1 << ", rows " << image.top << ".."
        << image.top + image.height - 1 << "\n";
    for (int row = 0; row < image.height; ++row) {
        std::string line = std::to_string(image.top + row);
        line.insert(0, 4 - std::min<size_t>(line.size(), 4), ' ');
        line += " |";
        for (int column = 0; column < image.width; ++column) {
            for (int half = 0; half < 2; ++half) {
                int covered = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = half * kSamples / 2; sx < (half + 1) * kSamples / 2; ++sx) {
                        const double x = image.left + column + (sx + 0.5) / kSamples;
                        const double y = image.top + row + (sy + 0.5) / kSamples;
                        if (std::any_of(corners.begin(), corners.end(), [&](const auto& c) { return inside(c, x, y); }))
                            ++covered;
                    }
                const int all = kSamples * kSamples / 2;
                line += covered == 0 ? ' ' : covered == all ? '#' : 2 * covered >= all ? '+' : '.';
            }
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << "\n";
    }
    return out.str();
}

std::vector<uint8_t> pngPicture(const PuzzleRecord& record, int scale, PictureStyle style)
{
    const bool plain = style == PictureStyle::Silhouette;
    const uint8_t ground = plain ? 0xFF : 0xC0;
    const uint8_t edge = plain ? 0 : 0x7F;
    const int width = 90 * scale + 1;
    const int height = 60 * scale;
    std::vector<uint8_t> pixels(static_cast<size_t>(width * height), ground);
    for (const PieceState& piece : record.pieces) {
        const std::array<Point, 3> c = pieceCorners({piece.x, piece.y, piece.orientation});
        for (int py = 0; py < height; ++py) {
            for (int px = 0; px < width; ++px) {
                const double x = (px + 0.5) / scale;
                const double y = (py + 0.5) / scale;
                if (!inside(c, x, y))
                    continue;
                double nearest = 1e9;
                for (size_t k = 0; k < 3; ++k)
                    nearest = std::min(nearest, distanceToSegment(c[k], c[(k + 1) % 3], x, y));
                uint8_t& pixel = pixels[static_cast<size_t>(py * width + px)];
                pixel = nearest * scale < 0.75 ? edge : 0;
            }
        }
    }
    return encodeGreyPng(width, height, pixels);
}

std::vector<uint8_t> encodeGreyPng(int width, int height, const std::vector<uint8_t>& pixels)
{
    std::vector<uint8_t> raw;  // each row led by filter type 0
    raw.reserve(static_cast<size_t>((width + 1) * height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
    }
    std::vector<uint8_t> zlib{0x78, 0x01};
    for (size_t offset = 0; offset < raw.size() || offset == 0;) {
        const size_t size = std::min<size_t>(65535, raw.size() - offset);
        const bool last = offset + size == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<uint8_t>(size & 0xFF));
        zlib.push_back(static_cast<uint8_t>(size >> 8));
        zlib.push_back(static_cast<uint8_t>(~size & 0xFF));
        zlib.push_back(static_cast<uint8_t>((~size >> 8) & 0xFF));
        zlib.insert(zlib.end(), raw.begin() + static_cast<long>(offset),
                    raw.begin() + static_cast<long>(offset + size));
        offset += size;
        if (last)
            break;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    appendBigEndian(zlib, (b << 16) | a);

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    appendBigEndian(header, static_cast<uint32_t>(width));
    appendBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 0, 0, 0, 0});  // 8-bit grey, deflate, no interlace
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlib);
    appendChunk(png, "IEND", {});
    return png;
}

}  // namespace quellon::catalogue
