#pragma once

#include <cstdint>
#include <string>

#include "skin_image.h"

namespace velmora::testing {

// A skin as the clock shows it: taken out of velmora.exe's archive into the folder and decoded
// the way the clock decodes it.
win::SkinImage ArchivedSkin(const std::wstring& entryName, const std::wstring& folder);

// The colour a premultiplied pixel of the face shows on the screen (without a compositor the
// screen shows it as it is, not blended): 0x00RRGGBB.
inline uint32_t ShownColour(uint32_t premultiplied) {
    return premultiplied & 0xFFFFFF;
}

}  // namespace velmora::testing
