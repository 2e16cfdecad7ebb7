#include "demo_level/DemoTextures.h"

#include <algorithm>
#include <cmath>

namespace grottix::demo {

namespace {

constexpr int kTile = 256;

// Smooth value noise on a wrapping lattice, so textures tile without seams.
double hash(int x, int y, int seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

double noise(double x, double y, int period, int seed) {
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    const auto at = [&](int i, int j) { return hash(((i % period) + period) % period, ((j % period) + period) % period, seed); };
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

// Fractal noise over a square of the given size, wrapping at its edges.
double fractal(double u, double v, int size, int seed) {
    double sum = 0, amplitude = 0.5;
    for (int octave = 0, cells = 4; octave < 4; ++octave, cells *= 2) {
        sum += amplitude * noise(u * cells / size, v * cells / size, cells, seed + octave);
        amplitude *= 0.5;
    }
    return sum / 0.9375;
}

Rgb shade(double r, double g, double b, double light) {
    const auto channel = [&](double c) { return uint8_t(std::clamp(c * light, 8.0, 255.0)); };
    return {channel(r), channel(g), channel(b)};
}

using Painter = Rgb (*)(int u, int v, int size);

Rgb stone(int u, int v, int size) {
    const double n = fractal(u, v, size, 11);
    return shade(150, 142, 128, 0.55 + 0.6 * n);
}

Rgb marble(int u, int v, int size) {
    const double n = fractal(u, v, size, 29);
    const double vein = std::abs(std::sin((u + v) * 6.2832 * 2 / size + n * 6));
    return shade(225, 220, 210, 0.65 + 0.35 * vein);
}

Rgb brick(int u, int v, int size) {
    const int rows = 8, brickHeight = size / rows, brickWidth = size / 4;
    const int row = v / brickHeight;
    const int shifted = (u + (row % 2) * brickWidth / 2) % size;
    const bool mortar = v % brickHeight < 2 || shifted % brickWidth < 2;
    const double n = fractal(u, v, size, 17);
    if (mortar) return shade(170, 165, 150, 0.6 + 0.3 * n);
    const double tint = hash(shifted / brickWidth, row, 5);
    return shade(150 + 40 * tint, 70 + 20 * tint, 50, 0.7 + 0.4 * n);
}

Rgb wood(int u, int v, int size) {
    const int plank = size / 4;
    const double n = fractal(u, v * 0.25, size, 23);
    const double grain = 0.5 + 0.5 * std::sin((u % plank) * 0.35 + n * 9);
    const bool gap = u % plank < 2;
    return gap ? shade(60, 40, 25, 1) : shade(150, 100, 55, 0.7 + 0.35 * grain);
}

Rgb grass(int u, int v, int size) {
    const double n = fractal(u, v, size, 31), fine = hash(u, v, 3);
    return shade(70 + 40 * fine, 140 + 60 * n, 50, 0.6 + 0.5 * n);
}

Rgb water(int u, int v, int size) {
    const double n = fractal(u, v, size, 41);
    const double ripple = 0.5 + 0.5 * std::sin((u * 0.5 + v) * 6.2832 * 3 / size + n * 4);
    return shade(40 + 40 * ripple, 110 + 50 * ripple, 190, 0.7 + 0.3 * n);
}

Rgb crate(int u, int v, int size) {
    const int border = size / 10;
    const bool frame = u < border || v < border || u >= size - border || v >= size - border;
    const bool brace = std::abs(u - v) < border / 2 || std::abs(u + v - size) < border / 2;
    const double n = fractal(u, v, size, 47);
    if (frame || brace) return shade(120, 80, 40, 0.75 + 0.3 * n);
    return shade(185, 140, 80, 0.7 + 0.3 * n);
}

// A fern on a transparent background: a stem and broad leaves that narrow towards the tip.
Rgb plant(int u, int v, int size) {
    const double x = (u - size / 2.0) / (size / 2.0), y = 1.0 - double(v) / size;  // y: 0 at the root
    const bool stem = std::abs(x) < 0.06 && y < 0.97;
    const double leafLength = 0.95 * (1 - y * 0.8);
    const double phase = std::fmod(y * 6, 1.0);
    const bool leaf = std::abs(x) < leafLength && std::abs(phase - std::abs(x) * 0.6) < 0.22;
    if (!stem && !leaf) return {0, 0, 0};
    const double vein = 0.8 + 0.2 * std::cos(std::abs(x) * 20);
    return shade((40 + 60 * y) * vein, (120 + 110 * y) * vein, 40, 1);
}

struct Slot {
    DemoTexture texture;
    Painter painter;
    int tile, left, top, size;
    bool transparent;
};

constexpr Slot kSlots[] = {
    {DemoTexture::Stone, stone, 0, 0, 0, 128, false},    {DemoTexture::Brick, brick, 0, 128, 0, 128, false},
    {DemoTexture::Wood, wood, 0, 0, 128, 128, false},    {DemoTexture::Grass, grass, 0, 128, 128, 128, false},
    {DemoTexture::Water, water, 1, 0, 0, 128, false},    {DemoTexture::Crate, crate, 1, 128, 0, 128, false},
    {DemoTexture::Plant, plant, 1, 0, 128, 128, true},   {DemoTexture::Marble, marble, 1, 128, 128, 128, false},
};

}  // namespace

DemoTiles PaintDemoTiles() {
    DemoTiles tiles;
    tiles.count = 2;
    tiles.texels.resize(size_t(tiles.count) * kTile * kTile);
    for (const Slot& slot : kSlots) {
        for (int v = 0; v < slot.size; ++v)
            for (int u = 0; u < slot.size; ++u)
                tiles.texels[size_t(slot.tile * kTile * kTile + (slot.top + v) * kTile + slot.left + u)] = slot.painter(u, v, slot.size);
        tiles.places[size_t(slot.texture)] = {uint16_t(slot.tile), uint8_t(slot.left), uint8_t(slot.top),
                                              uint8_t(slot.left + slot.size - 1), uint8_t(slot.top + slot.size - 1),
                                              slot.transparent};
    }
    return tiles;
}

std::vector<uint8_t> Tiles16(const DemoTiles& tiles) {
    std::vector<uint8_t> out;
    out.reserve(tiles.texels.size() * 2);
    for (const Rgb& c : tiles.texels) {
        const bool clear = c.r == 0 && c.g == 0 && c.b == 0;
        const uint16_t p = clear ? 0 : uint16_t(0x8000 | (c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3));
        out.push_back(uint8_t(p));
        out.push_back(uint8_t(p >> 8));
    }
    return out;
}

std::vector<uint8_t> Tiles32(const DemoTiles& tiles) {
    std::vector<uint8_t> out;
    out.reserve(tiles.texels.size() * 4);
    for (const Rgb& c : tiles.texels) {
        const bool clear = c.r == 0 && c.g == 0 && c.b == 0;
        out.insert(out.end(), {c.b, c.g, c.r, uint8_t(clear ? 0 : 255)});
    }
    return out;
}

namespace {

// Median cut: splits the colours into boxes along their widest channel until there are enough.
std::vector<Rgb> medianCut(std::vector<Rgb> colours, size_t wanted) {
    struct Box {
        size_t begin, end;
    };
    const auto channel = [](const Rgb& c, int k) { return k == 0 ? c.r : k == 1 ? c.g : c.b; };
    const auto widest = [&](const Box& box, int& which) {
        int best = -1;
        for (int k = 0; k < 3; ++k) {
            uint8_t lo = 255, hi = 0;
            for (size_t i = box.begin; i < box.end; ++i) {
                lo = std::min(lo, channel(colours[i], k));
                hi = std::max(hi, channel(colours[i], k));
            }
            if (hi - lo > best) {
                best = hi - lo;
                which = k;
            }
        }
        return best;
    };
    std::vector<Box> boxes = {{0, colours.size()}};
    while (boxes.size() < wanted) {
        size_t pick = 0;
        int pickRange = -1, pickChannel = 0;
        for (size_t b = 0; b < boxes.size(); ++b) {
            int which = 0;
            const int range = boxes[b].end - boxes[b].begin > 1 ? widest(boxes[b], which) : -1;
            if (range > pickRange) {
                pickRange = range;
                pick = b;
                pickChannel = which;
            }
        }
        if (pickRange <= 0) break;
        Box& box = boxes[pick];
        const size_t middle = (box.begin + box.end) / 2;
        std::nth_element(colours.begin() + long(box.begin), colours.begin() + long(middle), colours.begin() + long(box.end),
                         [&](const Rgb& a, const Rgb& b) { return channel(a, pickChannel) < channel(b, pickChannel); });
        boxes.push_back({middle, box.end});
        boxes[pick].end = middle;
    }
    std::vector<Rgb> palette;
    for (const Box& box : boxes) {
        unsigned long r = 0, g = 0, b = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            r += colours[i].r;
            g += colours[i].g;
            b += colours[i].b;
        }
        const unsigned long n = std::max<unsigned long>(box.end - box.begin, 1);
        palette.push_back({uint8_t(r / n), uint8_t(g / n), uint8_t(b / n)});
    }
    return palette;
}

}  // namespace

// Palette: entry 0 transparent black, then up to 255 colours cut from the texels, in 6-bit components.
void Tiles8(const DemoTiles& tiles, std::vector<uint8_t>& indices, std::array<uint8_t, 768>& palette) {
    std::vector<Rgb> opaque;
    for (const Rgb& c : tiles.texels)
        if (c.r || c.g || c.b) opaque.push_back(c);
    const std::vector<Rgb> colours = medianCut(opaque, 255);
    palette.fill(0);
    std::vector<Rgb> stored(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) {
        const auto six = [](uint8_t v) { return uint8_t(std::max(1, (v + 2) / 4 > 63 ? 63 : (v + 2) / 4)); };
        palette[(i + 1) * 3] = six(colours[i].r);
        palette[(i + 1) * 3 + 1] = six(colours[i].g);
        palette[(i + 1) * 3 + 2] = six(colours[i].b);
        stored[i] = {uint8_t(palette[(i + 1) * 3] * 4), uint8_t(palette[(i + 1) * 3 + 1] * 4), uint8_t(palette[(i + 1) * 3 + 2] * 4)};
    }
    indices.resize(tiles.texels.size());
    for (size_t i = 0; i < tiles.texels.size(); ++i) {
        const Rgb& c = tiles.texels[i];
        if (c.r == 0 && c.g == 0 && c.b == 0) {
            indices[i] = 0;
            continue;
        }
        int best = 0, bestDistance = 1 << 30;
        for (size_t p = 0; p < stored.size(); ++p) {
            const int dr = stored[p].r - c.r, dg = stored[p].g - c.g, db = stored[p].b - c.b;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = int(p);
            }
        }
        indices[i] = uint8_t(best + 1);
    }
}

}  // namespace grottix::demo
