// Paints Velmora's clock-face skins and synthesises its alarm chime.
//
//   velmora_art --assets DIR --docs DIR [--draft]
//
// writes velmora.png, velmora1.png, velmora2.png and Velmora.wav into the assets folder and the
// overview picture skins.png into the docs folder. The output depends on nothing but this
// program, cairo, libpng and the fonts, so two runs give the same bytes. It refuses to write
// skins that break the transparency rules, unless --draft asks for them to look at.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "chime.h"
#include "png_file.h"
#include "showcase.h"
#include "skins.h"

namespace {

using velmora::art::Box;

// The cut to the skin's bounds may only take away the faintest end of the shadow.
constexpr int kMostClipped = 12;

std::string Describe(const Box& b) {
    return "(" + std::to_string(b.left) + "," + std::to_string(b.top) + ")-(" +
           std::to_string(b.right) + "," + std::to_string(b.bottom) + ")";
}

// Checks the transparency rules every skin follows; prints what it found.
bool Check(const velmora::art::Skin& skin) {
    const Box bounds = velmora::art::AlphaBounds(skin.image);
    int peak = 0;
    for (size_t i = 3; i < skin.image.rgba.size(); i += 4) {
        peak = std::max<int>(peak, skin.image.rgba[i]);
    }
    std::printf("%-13s bounds %s (unclipped %s, clipped alpha up to %d), peak alpha %d\n",
                skin.file.c_str(), Describe(bounds).c_str(), Describe(skin.report.natural).c_str(),
                skin.report.clippedPeak, peak);
    bool good = true;
    if (!(bounds == skin.style.bounds)) {
        std::fprintf(stderr, "%s: bounds %s, want %s\n", skin.file.c_str(),
                     Describe(bounds).c_str(), Describe(skin.style.bounds).c_str());
        good = false;
    }
    if (skin.report.clippedPeak > kMostClipped) {
        std::fprintf(stderr, "%s: the cut to the bounds removed alpha %d\n", skin.file.c_str(),
                     skin.report.clippedPeak);
        good = false;
    }
    if (peak != skin.style.peakAlpha) {
        std::fprintf(stderr, "%s: peak alpha %d, want %d\n", skin.file.c_str(), peak,
                     skin.style.peakAlpha);
        good = false;
    }
    return good;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    std::string assets;
    std::string docs;
    bool draft = false;
    bool understood = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--assets") == 0 && i + 1 < argc) {
            assets = argv[++i];
        } else if (std::strcmp(argv[i], "--docs") == 0 && i + 1 < argc) {
            docs = argv[++i];
        } else if (std::strcmp(argv[i], "--draft") == 0) {
            draft = true;
        } else {
            understood = false;
        }
    }
    if (!understood || assets.empty() || docs.empty()) {
        std::fprintf(stderr, "usage: velmora_art --assets DIR --docs DIR [--draft]\n");
        return 2;
    }

    const std::vector<velmora::art::Skin> skins = velmora::art::MakeSkins();
    bool good = true;
    for (const auto& skin : skins)
        good = Check(skin) && good;
    if (!good && !draft) return 1;

    std::string error;
    std::vector<const velmora::art::Image*> pictures;
    for (const auto& skin : skins) {
        if (!velmora::art::WritePng(assets + "/" + skin.file, skin.image, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        pictures.push_back(&skin.image);
    }
    if (!velmora::art::WritePng(docs + "/skins.png", velmora::art::Showcase(pictures), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!WriteBytes(assets + "/Velmora.wav", velmora::art::ChimeWav())) {
        std::fprintf(stderr, "cannot write %s/Velmora.wav\n", assets.c_str());
        return 1;
    }
    return good ? 0 : 1;
}
