// Small drawing helpers over cairo shared by the three skins.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

namespace velmora::art {

// Every skin is this size, and the clock draws its hands from the middle of pixel (126, 126).
constexpr int kSkinWidth = 235;
constexpr int kSkinHeight = 250;
// Cairo's pixel (x, y) covers [x, x + 1): the middle of pixel 126 is at 126.5.
constexpr double kCentreX = 126.5;
constexpr double kCentreY = 126.5;
constexpr double kPi = 3.14159265358979323846;

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct PatternDeleter {
    void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;
using Pattern = std::unique_ptr<cairo_pattern_t, PatternDeleter>;

// A colour as 0xRRGGBB.
void SetColour(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void AddStop(cairo_pattern_t* pattern, double offset, uint32_t rgb, double alpha = 1.0);

// A point at `radius` from the dial centre, `degrees` clockwise from twelve o'clock.
struct Point {
    double x;
    double y;
};
Point Polar(double radius, double degrees);

void CirclePath(cairo_t* cr, double radius, double cx = kCentreX, double cy = kCentreY);
// The ring between two radii around the dial centre, as one even-odd path.
void RingPath(cairo_t* cr, double inner, double outer);
// A radial stroke from `inner` to `outer` at `degrees`.
void Tick(cairo_t* cr, double degrees, double inner, double outer, double width);

// Draws `text` with its ink centred on (x, y) in the current source.
void CentredText(cairo_t* cr, const char* text, double x, double y);
// Selects a face for the toy text API with smooth, unhinted outlines.
void SelectFont(cairo_t* cr, const char* family, bool bold, double size, bool italic = false);

// A deterministic source of noise for textures: the same seed gives the same numbers.
class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed != 0 ? seed : 1) {}
    // A number in [0, 1).
    double Next();
    double Between(double low, double high) { return low + (high - low) * Next(); }

  private:
    uint32_t state_;
};

}  // namespace velmora::art
