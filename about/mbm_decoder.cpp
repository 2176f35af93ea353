// The MBM decoder. Its input is a resource of the program, but it is still
// parsed as untrusted bytes: every read is checked against the data's size,
// every size is computed in 64 bits, and a run is checked before it is written.
#include "about/mbm_decoder.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vop {
namespace {

// The real picture holds 19 KB of pixels; a header that asks for more than
// this is refused before anything is allocated.
constexpr std::uint64_t MaxPixelBytes = std::uint64_t{64} << 20;
constexpr std::size_t FullPaletteBytes = 1024;
constexpr std::size_t TwoEntryPaletteBytes = 8;

// The bytes still to read; every take is checked.
struct Reader {
    const std::uint8_t* at;
    std::size_t left;
    const std::uint8_t* take(std::size_t n) {
        if (n > left) return nullptr;
        const std::uint8_t* p = at;
        at += n;
        left -= n;
        return p;
    }
    bool byte(unsigned& b) {
        const std::uint8_t* p = take(1);
        return p && (b = *p, true);
    }
};

// The pixel buffer being filled, `done` pixels of `total` written so far.
struct Output {
    std::uint8_t* pixels;
    std::uint64_t total, done;
    std::size_t bytesPerPixel;
    // A run that would pass the last pixel is refused before any of it is written.
    bool run(std::uint64_t count, const std::uint8_t* value) {
        if (count > total - done) return false;
        std::uint8_t* p = pixels + done * bytesPerPixel;
        if (bytesPerPixel == 1) {
            std::memset(p, *value, static_cast<std::size_t>(count));
        } else {
            for (std::uint64_t i = 0; i < count; ++i, p += bytesPerPixel) std::memcpy(p, value, bytesPerPixel);
        }
        done += count;
        return true;
    }
    bool finished() const { return done == total; }
};

unsigned Word16(const std::uint8_t* p) { return unsigned{p[0]} | unsigned{p[1]} << 8; }

using Result = int;
constexpr Result Ok = MbmResult::Decoded, Corrupt = MbmResult::CorruptBody;

// The densest code of a run stream: `pixels` pixels at most in `bytes`
// bytes. No stream of that type and subtype packs its pixels tighter. A 1-bit
// run byte covers up to 128 pixels, as densely as a count and a value cover 256.
struct Density {
    std::uint64_t bytes, pixels;
};
Density Densest(int type, int subtype) {
    if (type == 4) return {4, 256};
    if (type == 5) return subtype == 1 ? Density{5, 256} : Density{8, 65791};
    switch (subtype) {
        case 1: return {2, 256};
        case 2: return {3, 259};
        case 3: return {2, 130};
        default: return {4, 65795};
    }
}

// The fewest bytes that can hold `pixels` pixels: subtype 0 stores them as
// the picture keeps them; a run stream needs at least its densest code's share
// of bytes, rounded up, so a body one pixel short of the header is refused
// before anything is allocated for its pixels.
std::uint64_t LeastPixelBytes(int type, int subtype, std::uint64_t pixels, std::uint64_t storedBytes) {
    if (subtype == 0) return storedBytes;
    const Density d = Densest(type, subtype);
    return pixels / d.pixels * d.bytes + (pixels % d.pixels * d.bytes + d.pixels - 1) / d.pixels;
}

// Subtype 0 of any type: the pixels exactly as the picture keeps them.
Result CopyRaw(Picture& picture, Reader& in) {
    const std::uint8_t* raw = in.take(picture.pixels.size());
    if (!raw) return Corrupt;
    std::copy(raw, raw + picture.pixels.size(), picture.pixels.begin());
    return Ok;
}

// Types 0 and 1: bits, raw or as runs of set and clear pixels.
Result DecodeBits(Picture& picture, Reader& in, int subtype) {
    std::vector<std::uint8_t>& pixels = picture.pixels;
    if (subtype == 0) return CopyRaw(picture, in);
    const auto width = static_cast<std::uint64_t>(picture.width);
    const std::uint64_t total = width * static_cast<std::uint64_t>(picture.height);
    const std::uint64_t rowBits = (width + 7) / 8 * 8;
    std::uint64_t x = 0, y = 0;  // of pixel p
    for (std::uint64_t p = 0; p < total;) {
        unsigned b;
        if (!in.byte(b)) return Corrupt;
        const unsigned count = (b >> 1) + 1;
        if (b & 1) {
            for (unsigned i = 0; i < count; ++i) {
                const std::uint64_t bit = y * rowBits + x;
                if (bit / 8 >= pixels.size()) return Corrupt;  // a run of set pixels past the last row
                pixels[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(0x80u >> (bit % 8));
                if (++x == width) x = 0, ++y;
            }
        } else {
            // A clear run only moves on; one that reaches past the last pixel ends the picture.
            x += count;
            y += x / width;
            x %= width;
        }
        p += count;
    }
    return Ok;
}

// Types 2 and 3, subtypes 1 to 4: runs of palette indices.
Result DecodeIndexRuns(Reader& in, Output& out, int subtype) {
    while (!out.finished()) {
        const std::uint8_t* code = in.take(1);
        if (!code) return Corrupt;
        std::uint64_t count = 1;
        const std::uint8_t* value = code;
        if (subtype == 1) {
            count = *code + 1u;
            value = in.take(1);
        } else if (subtype == 2 && *code == 255) {
            const std::uint8_t* c = in.take(1);
            if (!c) return Corrupt;
            count = *c + 4u;
            value = in.take(1);
        } else if (subtype == 3 && *code >= 128) {
            count = *code - 125u;
            value = in.take(1);
        } else if (subtype == 4 && *code >= 254) {
            const std::uint8_t* c = in.take(*code == 255 ? 1 : 2);
            if (!c) return Corrupt;
            count = *code == 255 ? *c + 4u : Word16(c) + 260u;
            value = in.take(1);
        }
        if (!value || !out.run(count, value)) return Corrupt;
    }
    return Ok;
}

// Type 4, 24 bits: raw, or records of a count and one colour.
Result DecodeRgb(Picture& picture, Reader& in, Output& out, int subtype) {
    if (subtype == 0) return CopyRaw(picture, in);
    while (!out.finished()) {
        const std::uint8_t* record = in.take(4);
        if (!record || !out.run(record[0] + 1u, record + 1)) return Corrupt;
    }
    return Ok;
}

// Type 5, 32 bits: raw, records of a count and a colour, or the word stream.
Result DecodeTrueColour(Picture& picture, Reader& in, Output& out, int subtype) {
    if (subtype == 0) return CopyRaw(picture, in);
    while (!out.finished()) {
        if (subtype == 1) {
            const std::uint8_t* record = in.take(5);
            if (!record || !out.run(record[0] + 1u, record + 1)) return Corrupt;
            continue;
        }
        const std::uint8_t* word = in.take(4);
        if (!word) return Corrupt;
        std::uint64_t count = 1;
        const std::uint8_t* value = word;
        std::uint8_t joined[4];
        if (word[0] == 255 && word[1] == 1) {
            count = (word[3] + 1u) * 256u + word[2];
            value = in.take(4);
        } else if (word[0] == 255 && word[1] >= 2) {
            const std::uint8_t* rest = in.take(2);
            if (!rest) return Corrupt;
            count = word[1];
            joined[0] = word[2], joined[1] = word[3], joined[2] = rest[0], joined[3] = rest[1];
            value = joined;
        }
        if (!value || !out.run(count, value)) return Corrupt;
    }
    return Ok;
}

bool SubtypeAllowed(int type, int subtype) {
    static constexpr int Highest[] = {1, 1, 4, 1, 1, 2};
    return subtype <= Highest[type];
}

// Where the body's palette part lies: two entries for type 0; for types 2
// and 3 at subtype 0 a full palette, which type 3 skips; for type 2's run
// subtypes a 16-bit count of 1 to 256 entries, the others left 0.
Result FindPalette(Reader& in, int type, int subtype, const std::uint8_t*& stored, std::size_t& size) {
    if (type == 0) {
        size = TwoEntryPaletteBytes;
    } else if (subtype == 0 && (type == 2 || type == 3)) {
        size = FullPaletteBytes;
    } else if (type == 2) {
        const std::uint8_t* n = in.take(2);
        if (!n) return Corrupt;
        const unsigned entries = Word16(n);
        if (entries < 1 || entries > 256) return Corrupt;
        size = entries * 4;
    }
    stored = in.take(size);
    return stored ? Ok : Corrupt;
}

// Finds the palette and checks the sizes before anything is allocated, then
// allocates the palette and pixels and fills them; the picture's size and
// depth are set.
Result DecodeBody(Picture& picture, Reader& in, int type, int subtype) {
    if (!SubtypeAllowed(type, subtype)) return MbmResult::BadSubtype;
    const std::uint8_t* palette = nullptr;
    std::size_t paletteSize = 0;
    const Result found = FindPalette(in, type, subtype, palette, paletteSize);
    if (found != Ok) return found;
    const std::uint64_t pixelBytes = PixelDataSize(picture.width, picture.height, picture.bitsPerPixel);
    const std::uint64_t pixelCount = static_cast<std::uint64_t>(picture.width) * static_cast<std::uint64_t>(picture.height);
    if (LeastPixelBytes(type, subtype, pixelCount, pixelBytes) > in.left) return Corrupt;
    if (pixelBytes > MaxPixelBytes) return MbmResult::NoMemory;
    try {
        picture.palette.assign(type == 0 ? TwoEntryPaletteBytes : type == 2 ? FullPaletteBytes : 0, 0);
        picture.pixels.assign(static_cast<std::size_t>(pixelBytes), 0);
    } catch (const std::bad_alloc&) {
        return MbmResult::NoMemory;
    }
    if (type != 3) std::copy(palette, palette + paletteSize, picture.palette.begin());
    Output out{picture.pixels.data(), pixelCount, 0, static_cast<std::size_t>(picture.bitsPerPixel / 8)};
    switch (type) {
        case 0:
        case 1: return DecodeBits(picture, in, subtype);
        case 2:
        case 3: return subtype == 0 ? CopyRaw(picture, in) : DecodeIndexRuns(in, out, subtype);
        case 4: return DecodeRgb(picture, in, out, subtype);
        default: return DecodeTrueColour(picture, in, out, subtype);
    }
}

std::int32_t ReadInt32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

int DecodeMbm(Picture& picture, const std::uint8_t* data, std::size_t size) {
    if (!data) return MbmResult::NoData;
    if (size < 2 || data[0] != 'M' || data[1] != 'B') return MbmResult::BadSignature;
    EmptyPicture(picture);
    // Each header field is read when it is needed, so a header cut short
    // still reports what its first fields say.
    if (size < 10) return Corrupt;
    const std::int32_t width = ReadInt32(data + 2), height = ReadInt32(data + 6);
    if (width < 0 || height < 0) return MbmResult::NegativeSize;
    if (size < 11) return Corrupt;
    static constexpr int Depth[] = {1, 1, 8, 8, 24, 32};
    const int type = data[10];
    if (type > 5) return MbmResult::UnknownType;
    if (size < 12) return Corrupt;
    picture.width = width;
    picture.height = height;
    picture.bitsPerPixel = Depth[type];
    Reader in{data + 12, size - 12};
    const Result result = DecodeBody(picture, in, type, data[11]);
    if (result != Ok) EmptyPicture(picture);
    return result;
}

}  // namespace vop
