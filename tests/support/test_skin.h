#pragma once

#include <cstdint>
#include <string>

namespace velmora::testing {

// A stand-in skin of the real skins' size: a fully transparent background, an opaque dark blue
// dial of radius 110 around the dial centre (126, 126) and a half-transparent grey rim around it.
constexpr int kSkinWidth = 235;
constexpr int kSkinHeight = 250;
constexpr uint32_t kDialColor = 0xFF102040;  // ARGB
constexpr uint32_t kRimColor = 0x80808080;
constexpr int kDialRadius = 110;
constexpr int kRimRadius = 116;

// Writes the stand-in skin as a PNG file (GDI+ must be started). Returns false on failure.
bool WriteTestSkin(const std::wstring& path);

}  // namespace velmora::testing
