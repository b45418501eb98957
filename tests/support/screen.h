#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace velmora::testing {

// A copy of part of the screen as it is shown, 0x00RRGGBB per pixel.
class ScreenShot {
  public:
    explicit ScreenShot(RECT area);
    // The colour at a point relative to the area's top-left corner.
    uint32_t At(int x, int y) const {
        return pixels_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
    }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

// True when two 0x00RRGGBB colours differ by at most tolerance in every channel.
bool Near(uint32_t a, uint32_t b, int tolerance);

}  // namespace velmora::testing
