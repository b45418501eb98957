// Checks the kept artwork: the three clock-face skins and the alarm chime. The layout of each
// file is checked byte for byte where the clock's loaders rely on it; the pictures and the sound
// are checked by measurement. The PNG files are read with zlib alone, independently of the
// libpng that wrote them.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 235;
constexpr int kHeight = 250;
constexpr int kPivot = 126;  // the clock turns its hands about the middle of this pixel

std::vector<uint8_t> ReadAsset(const std::string& name) {
    std::ifstream in(std::string(VELMORA_ASSETS_DIR) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t Be32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}
uint32_t Le32(const uint8_t* p) {
    return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}
uint32_t Le16(const uint8_t* p) {
    return uint32_t{p[1]} << 8 | p[0];
}

// ---- PNG reading -----------------------------------------------------------------------------

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
    bool crcMatches;
};

struct Png {
    bool signatureOk = false;
    bool wellFormed = false;  // every chunk fits in the file and nothing follows IEND
    std::vector<Chunk> chunks;
};

Png ParseChunks(const std::vector<uint8_t>& file) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Png png;
    png.signatureOk = file.size() >= 8 && std::equal(kSignature, kSignature + 8, file.begin());
    if (!png.signatureOk) return png;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = Be32(&file[at]);
        if (at + 12 + length > file.size()) return png;
        Chunk chunk;
        chunk.type.assign(file.begin() + at + 4, file.begin() + at + 8);
        chunk.data.assign(file.begin() + at + 8, file.begin() + at + 8 + length);
        const uint32_t crc = crc32(crc32(0, nullptr, 0), &file[at + 4], length + 4);
        chunk.crcMatches = crc == Be32(&file[at + 8 + length]);
        at += 12 + length;
        png.chunks.push_back(std::move(chunk));
        if (png.chunks.back().type == "IEND") break;
    }
    png.wellFormed = at == file.size() && !png.chunks.empty() && png.chunks.back().type == "IEND";
    return png;
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// The pixels of an 8-bit RGBA, non-interlaced image of the skin size, or empty when the
// compressed data does not inflate to exactly that.
std::vector<uint8_t> DecodeRgba(const Png& png) {
    std::vector<uint8_t> compressed;
    for (const Chunk& c : png.chunks) {
        if (c.type == "IDAT") compressed.insert(compressed.end(), c.data.begin(), c.data.end());
    }
    const size_t rowBytes = kWidth * 4;
    std::vector<uint8_t> raw(kHeight * (rowBytes + 1) + 1);
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, compressed.data(), compressed.size()) != Z_OK ||
        rawSize != raw.size() - 1) {
        return {};
    }
    std::vector<uint8_t> pixels(kHeight * rowBytes);
    for (size_t y = 0; y < kHeight; ++y) {
        const uint8_t filter = raw[y * (rowBytes + 1)];
        const uint8_t* in = &raw[y * (rowBytes + 1) + 1];
        uint8_t* out = &pixels[y * rowBytes];
        const uint8_t* up = y > 0 ? &pixels[(y - 1) * rowBytes] : nullptr;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= 4 ? out[i - 4] : 0;
            const int b = up ? up[i] : 0;
            const int c = up && i >= 4 ? up[i - 4] : 0;
            int predicted = 0;
            switch (filter) {
                case 0:
                    predicted = 0;
                    break;
                case 1:
                    predicted = a;
                    break;
                case 2:
                    predicted = b;
                    break;
                case 3:
                    predicted = (a + b) / 2;
                    break;
                case 4:
                    predicted = Paeth(a, b, c);
                    break;
                default:
                    return {};
            }
            out[i] = static_cast<uint8_t>(in[i] + predicted);
        }
    }
    return pixels;
}

// ---- The skins -------------------------------------------------------------------------------

struct Box {
    int left, top, right, bottom;
};

enum class Hue { kGreen, kBlue, kCream };

struct SkinCase {
    const char* file;
    int dialAlpha;  // the dial surface
    int peakAlpha;  // the most opaque pixels, on the rim
    Box bounds;     // inclusive, everything with alpha above zero
    Hue dial;       // the colour of the dial under the hands
};

void PrintTo(const SkinCase& c, std::ostream* os) {
    *os << c.file;
}

const SkinCase kSkins[] = {
    {"velmora.png", 230, 253, {13, 14, 219, 241}, Hue::kGreen},
    {"velmora1.png", 217, 252, {45, 43, 210, 210}, Hue::kBlue},
    {"velmora2.png", 230, 253, {26, 27, 229, 228}, Hue::kCream},
};

// The decoded file, read once per skin.
struct Skin {
    std::vector<uint8_t> bytes;
    Png png;
    std::vector<uint8_t> rgba;

    int Alpha(int x, int y) const { return rgba[(y * kWidth + x) * 4 + 3]; }
    const uint8_t* Pixel(int x, int y) const { return &rgba[(y * kWidth + x) * 4]; }
};

const Skin& Load(const char* file) {
    static std::map<std::string, Skin> cache;
    auto found = cache.find(file);
    if (found != cache.end()) return found->second;
    Skin skin;
    skin.bytes = ReadAsset(file);
    skin.png = ParseChunks(skin.bytes);
    skin.rgba = DecodeRgba(skin.png);
    return cache.emplace(file, std::move(skin)).first->second;
}

class SkinTest : public ::testing::TestWithParam<SkinCase> {
  protected:
    void SetUp() override {
        skin_ = &Load(GetParam().file);
        ASSERT_FALSE(skin_->bytes.empty()) << "missing " << GetParam().file;
        ASSERT_TRUE(skin_->png.signatureOk);
        ASSERT_TRUE(skin_->png.wellFormed);
    }
    // Asserts first that the pixels decoded, for the tests that look at them.
    bool Decoded() const { return skin_->rgba.size() == size_t{kWidth} * kHeight * 4; }

    const Skin* skin_ = nullptr;
};

TEST_P(SkinTest, HeaderIsEightBitRgbaNotInterlaced) {
    const Chunk& ihdr = skin_->png.chunks.front();
    ASSERT_EQ(ihdr.type, "IHDR");
    ASSERT_EQ(ihdr.data.size(), 13u);
    EXPECT_EQ(Be32(&ihdr.data[0]), uint32_t{kWidth});
    EXPECT_EQ(Be32(&ihdr.data[4]), uint32_t{kHeight});
    EXPECT_EQ(ihdr.data[8], 8) << "bit depth";
    EXPECT_EQ(ihdr.data[9], 6) << "colour type RGBA";
    EXPECT_EQ(ihdr.data[10], 0) << "compression";
    EXPECT_EQ(ihdr.data[11], 0) << "filter method";
    EXPECT_EQ(ihdr.data[12], 0) << "interlace";
}

TEST_P(SkinTest, ChunksAreHeaderGammaTextOneDataAndEnd) {
    std::vector<std::string> types;
    for (const Chunk& c : skin_->png.chunks) {
        types.push_back(c.type);
        EXPECT_TRUE(c.crcMatches) << c.type;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "gAMA", "tEXt", "IDAT", "IEND"}));
    ASSERT_EQ(types.size(), 5u);

    const Chunk& gama = skin_->png.chunks[1];
    ASSERT_EQ(gama.data.size(), 4u);
    EXPECT_EQ(Be32(gama.data.data()), 45000u);

    // tEXt: a keyword of 1 to 79 Latin-1 characters, a zero byte, then the text.
    const std::vector<uint8_t>& text = skin_->png.chunks[2].data;
    const auto zero = std::find(text.begin(), text.end(), 0);
    ASSERT_NE(zero, text.end());
    const auto keyword = zero - text.begin();
    EXPECT_GE(keyword, 1);
    EXPECT_LE(keyword, 79);

    EXPECT_TRUE(skin_->png.chunks[4].data.empty()) << "IEND carries no data";
}

TEST_P(SkinTest, NothingShowsOutsideTheBounds) {
    ASSERT_TRUE(Decoded());
    Box seen{kWidth, kHeight, -1, -1};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (skin_->Alpha(x, y) == 0) continue;
            seen.left = std::min(seen.left, x);
            seen.top = std::min(seen.top, y);
            seen.right = std::max(seen.right, x);
            seen.bottom = std::max(seen.bottom, y);
        }
    }
    const Box& want = GetParam().bounds;
    EXPECT_EQ(seen.left, want.left);
    EXPECT_EQ(seen.top, want.top);
    EXPECT_EQ(seen.right, want.right);
    EXPECT_EQ(seen.bottom, want.bottom);
    for (const auto& [x, y] :
         {std::pair{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {kWidth - 1, kHeight - 1}}) {
        EXPECT_EQ(skin_->Alpha(x, y), 0) << "corner " << x << "," << y;
    }
}

TEST_P(SkinTest, DialSurfaceHasTheBodyAlpha) {
    ASSERT_TRUE(Decoded());
    // Everywhere the hands can sweep, and a good way beyond.
    int wrong = 0;
    for (int y = kPivot - 66; y <= kPivot + 66; ++y) {
        for (int x = kPivot - 66; x <= kPivot + 66; ++x) {
            const int dx = x - kPivot;
            const int dy = y - kPivot;
            if (dx * dx + dy * dy <= 66 * 66 && skin_->Alpha(x, y) != GetParam().dialAlpha) {
                ++wrong;
            }
        }
    }
    EXPECT_EQ(wrong, 0);

    // And the dial is the main area: no other alpha is as common.
    std::vector<int> count(256, 0);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            ++count[skin_->Alpha(x, y)];
    }
    const int common =
        static_cast<int>(std::max_element(count.begin() + 1, count.end()) - count.begin());
    EXPECT_EQ(common, GetParam().dialAlpha);
}

TEST_P(SkinTest, DialIsCentredOnThePivot) {
    ASSERT_TRUE(Decoded());
    const int dial = GetParam().dialAlpha;
    // How far the dial surface runs from the pivot before something else begins.
    auto run = [&](int stepX, int stepY) {
        int n = 0;
        while (skin_->Alpha(kPivot + (n + 1) * stepX, kPivot + (n + 1) * stepY) == dial)
            ++n;
        return n;
    };
    const int left = run(-1, 0);
    const int right = run(1, 0);
    const int up = run(0, -1);
    const int down = run(0, 1);
    EXPECT_GE(std::min({left, right, up, down}), 66);
    EXPECT_LE(std::abs(left - right), 1);
    EXPECT_LE(std::abs(up - down), 1);
    EXPECT_LE(std::abs(left - up), 1);
}

TEST_P(SkinTest, PeakAlphaIsReachedAndNothingIsOpaque) {
    ASSERT_TRUE(Decoded());
    int peak = 0;
    int opaque = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            peak = std::max(peak, skin_->Alpha(x, y));
            if (skin_->Alpha(x, y) == 255) ++opaque;
        }
    }
    EXPECT_EQ(peak, GetParam().peakAlpha);
    EXPECT_EQ(opaque, 0);
}

TEST_P(SkinTest, EdgesFadeLikeASoftShadow) {
    ASSERT_TRUE(Decoded());
    // A cut-out with only antialiased edges has fewer faint pixels than edge pixels (about one
    // for two); a soft shadow spreads a band of faint pixels outwards from each edge pixel.
    int edge = 0;
    int faint = 0;
    for (int y = 1; y < kHeight - 1; ++y) {
        for (int x = 1; x < kWidth - 1; ++x) {
            const int a = skin_->Alpha(x, y);
            if (a == 0) continue;
            if (a < 128) ++faint;
            if (skin_->Alpha(x - 1, y) == 0 || skin_->Alpha(x + 1, y) == 0 ||
                skin_->Alpha(x, y - 1) == 0 || skin_->Alpha(x, y + 1) == 0) {
                ++edge;
            }
        }
    }
    ASSERT_GT(edge, 0);
    EXPECT_GE(faint, 2 * edge);
}

TEST_P(SkinTest, DialHasItsColourUnderTheHands) {
    ASSERT_TRUE(Decoded());
    double sum[3] = {0, 0, 0};
    int n = 0;
    for (int y = kPivot - 12; y <= kPivot + 12; ++y) {
        for (int x = kPivot - 12; x <= kPivot + 12; ++x) {
            if ((x - kPivot) * (x - kPivot) + (y - kPivot) * (y - kPivot) > 144) continue;
            for (int c = 0; c < 3; ++c)
                sum[c] += skin_->Pixel(x, y)[c];
            ++n;
        }
    }
    const double r = sum[0] / n;
    const double g = sum[1] / n;
    const double b = sum[2] / n;
    switch (GetParam().dial) {
        case Hue::kGreen:  // dark green: white hands stand out
            EXPECT_GT(g, r + 15);
            EXPECT_GT(g, b);
            EXPECT_LT(r + g + b, 3 * 110);
            break;
        case Hue::kBlue:  // dark blue: white hands stand out
            EXPECT_GT(b, r + 30);
            EXPECT_GT(b, g);
            EXPECT_LT(r + g + b, 3 * 110);
            break;
        case Hue::kCream:  // light and warm: black hands stand out
            EXPECT_GT(r, 200);
            EXPECT_GT(g, 190);
            EXPECT_GT(r, b + 15);
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinTest, ::testing::ValuesIn(kSkins),
                         [](const ::testing::TestParamInfo<SkinCase>& info) {
                             std::string name = info.param.file;
                             name.erase(name.find('.'));
                             return name;
                         });

// ---- The alarm chime -------------------------------------------------------------------------

constexpr uint32_t kSampleCount = 29943;
constexpr size_t kDataStart = 12 + 24 + 12 + 8;

class ChimeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { wav_ = new std::vector<uint8_t>(ReadAsset("Velmora.wav")); }
    static void TearDownTestSuite() {
        delete wav_;
        wav_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(wav_->size(), 30000u); }

    // Sample n, as a signed distance from silence.
    static int At(size_t n) { return static_cast<int>((*wav_)[kDataStart + n]) - 128; }
    static double Rms(size_t from, size_t to) {
        double sum = 0;
        for (size_t n = from; n < to; ++n)
            sum += At(n) * At(n);
        return std::sqrt(sum / (to - from));
    }

    static std::vector<uint8_t>* wav_;
};
std::vector<uint8_t>* ChimeTest::wav_ = nullptr;

TEST_F(ChimeTest, HeaderFieldsHoldTheirValues) {
    struct Field {
        size_t offset;
        const char* what;
        int width;        // 0 for a four-letter tag, else bytes of a little-endian number
        const char* tag;  // when width is 0
        uint32_t number;  // otherwise
    };
    const Field fields[] = {
        {0, "RIFF tag", 0, "RIFF", 0},      {4, "RIFF size", 4, nullptr, 29992},
        {8, "WAVE tag", 0, "WAVE", 0},      {12, "fmt tag", 0, "fmt ", 0},
        {16, "fmt size", 4, nullptr, 16},   {20, "format PCM", 2, nullptr, 1},
        {22, "channels", 2, nullptr, 1},    {24, "samples/s", 4, nullptr, 11025},
        {28, "bytes/s", 4, nullptr, 11025}, {32, "block align", 2, nullptr, 1},
        {34, "bits/sample", 2, nullptr, 8}, {36, "fact tag", 0, "fact", 0},
        {40, "fact size", 4, nullptr, 4},   {44, "sample count", 4, nullptr, kSampleCount},
        {48, "data tag", 0, "data", 0},     {52, "data size", 4, nullptr, kSampleCount},
    };
    const std::vector<uint8_t>& wav = *wav_;
    for (const Field& f : fields) {
        if (f.width == 0) {
            EXPECT_EQ(std::string(wav.begin() + f.offset, wav.begin() + f.offset + 4), f.tag)
                << f.what;
        } else {
            const uint32_t value = f.width == 4 ? Le32(&wav[f.offset]) : Le16(&wav[f.offset]);
            EXPECT_EQ(value, f.number) << f.what;
        }
    }
    EXPECT_EQ(wav.back(), 0) << "pad byte after the odd-sized data";
}

TEST_F(ChimeTest, SamplesStayClearOfClipping) {
    int loudest = 0;
    for (size_t n = 0; n < kSampleCount; ++n) {
        const uint8_t s = (*wav_)[kDataStart + n];
        ASSERT_NE(s, 0) << "sample " << n;
        ASSERT_NE(s, 255) << "sample " << n;
        loudest = std::max(loudest, std::abs(At(n)));
    }
    // Loud enough to wake to, with room to spare.
    EXPECT_GE(loudest, 60);
    EXPECT_LE(loudest, 120);
}

TEST_F(ChimeTest, StartsAndEndsInSilence) {
    for (size_t n = 0; n < 40; ++n) {
        EXPECT_LE(std::abs(At(n)), 2) << "sample " << n;
        EXPECT_LE(std::abs(At(kSampleCount - 1 - n)), 2) << "sample " << kSampleCount - 1 - n;
    }
}

TEST_F(ChimeTest, RingsThenDiesAway) {
    const size_t second = 11025;
    const double ringing = Rms(0, second);
    const double tail = Rms(kSampleCount - second / 4, kSampleCount);
    EXPECT_GT(ringing, 12);
    EXPECT_LT(tail, ringing / 4);
    // Not a steady tone: the sound keeps ringing through the middle of the file.
    EXPECT_GT(Rms(second, 2 * second), ringing / 5);
}

}  // namespace
