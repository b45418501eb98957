#include "skins.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "paint.h"

namespace velmora::art {
namespace {

struct Rgba {
    double r;
    double g;
    double b;
    double a;
};

double Radians(double degrees) {
    return degrees * kPi / 180.0;
}

// Fills the ring between two radii with a colour that follows the angle, as a brushed or
// polished metal turns its light around the dial. `inner` may be 0 for a full disc.
void ConicRing(cairo_t* cr, double inner, double outer, const std::function<Rgba(double)>& colour,
               int segments = 180) {
    cairo_save(cr);
    RingPath(cr, inner, outer);
    cairo_clip(cr);
    Pattern mesh(cairo_pattern_create_mesh());
    const double in = std::max(0.0, inner - 2);
    const double out = outer + 3;
    for (int i = 0; i < segments; ++i) {
        const double a0 = 360.0 * i / segments;
        const double a1 = 360.0 * (i + 1) / segments;
        const Point p0 = Polar(in, a0);
        const Point p1 = Polar(out, a0);
        const Point p2 = Polar(out, a1);
        const Point p3 = Polar(in, a1);
        const Rgba c0 = colour(a0);
        const Rgba c1 = colour(a1);
        cairo_mesh_pattern_begin_patch(mesh.get());
        cairo_mesh_pattern_move_to(mesh.get(), p0.x, p0.y);
        cairo_mesh_pattern_line_to(mesh.get(), p1.x, p1.y);
        cairo_mesh_pattern_line_to(mesh.get(), p2.x, p2.y);
        cairo_mesh_pattern_line_to(mesh.get(), p3.x, p3.y);
        cairo_mesh_pattern_set_corner_color_rgba(mesh.get(), 0, c0.r, c0.g, c0.b, c0.a);
        cairo_mesh_pattern_set_corner_color_rgba(mesh.get(), 1, c0.r, c0.g, c0.b, c0.a);
        cairo_mesh_pattern_set_corner_color_rgba(mesh.get(), 2, c1.r, c1.g, c1.b, c1.a);
        cairo_mesh_pattern_set_corner_color_rgba(mesh.get(), 3, c1.r, c1.g, c1.b, c1.a);
        cairo_mesh_pattern_end_patch(mesh.get());
    }
    cairo_set_source(cr, mesh.get());
    cairo_paint(cr);
    cairo_restore(cr);
}

// Polished steel: bright where it faces the light at the upper left and its mirror image at
// the lower right, darker across.
Rgba Steel(double degrees, double level, double contrast) {
    const double v = std::clamp(level + contrast * std::cos(Radians(2 * (degrees - 315))) +
                                    0.05 * std::cos(Radians(6 * (degrees - 20))),
                                0.0, 1.0);
    return Rgba{v * 0.95, v * 0.97, std::min(1.0, v * 1.01), 1.0};
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

// A horizontal gradient through the given colours, evenly spaced, from x0 to x1.
Pattern Across(double x0, double x1, std::initializer_list<uint32_t> colours) {
    Pattern p(cairo_pattern_create_linear(x0, 0, x1, 0));
    const double last = static_cast<double>(colours.size() - 1);
    int i = 0;
    for (uint32_t c : colours)
        AddStop(p.get(), i++ / last, c);
    return p;
}

// Draws `text` letter by letter with extra room between the letters, centred on (x, y).
void SpacedText(cairo_t* cr, const char* text, double x, double y, double spacing) {
    const std::string s(text);
    double total = 0;
    std::vector<double> advances;
    for (char c : s) {
        const char one[2] = {c, 0};
        cairo_text_extents_t e;
        cairo_text_extents(cr, one, &e);
        advances.push_back(e.x_advance);
        total += e.x_advance;
    }
    total += spacing * (s.size() - 1);
    cairo_text_extents_t all;
    cairo_text_extents(cr, text, &all);
    double pen = x - total / 2;
    for (size_t i = 0; i < s.size(); ++i) {
        const char one[2] = {s[i], 0};
        cairo_move_to(cr, pen, y - (all.y_bearing + all.height / 2));
        cairo_show_text(cr, one);
        pen += advances[i] + spacing;
    }
    cairo_new_path(cr);
}

// A soft darkening just inside the rim, as the rim's wall shades the dial.
void InnerShadow(cairo_t* cr, double radius, double depth, double alpha) {
    Pattern p(cairo_pattern_create_radial(kCentreX, kCentreY, radius - depth, kCentreX, kCentreY,
                                          radius));
    AddStop(p.get(), 0, 0x000000, 0);
    AddStop(p.get(), 1, 0x000000, alpha);
    CirclePath(cr, radius);
    cairo_set_source(cr, p.get());
    cairo_fill(cr);
}

// A faint reflection of the window on the glass, brightest at the upper left.
void GlassSheen(cairo_t* cr, double radius, double alpha) {
    Pattern p(cairo_pattern_create_linear(kCentreX - radius * 0.7, kCentreY - radius * 0.7,
                                          kCentreX, kCentreY));
    AddStop(p.get(), 0, 0xffffff, alpha);
    AddStop(p.get(), 1, 0xffffff, 0);
    CirclePath(cr, radius);
    cairo_set_source(cr, p.get());
    cairo_fill(cr);
}

// Fine radial brushing of a dial, alternate wedges a shade lighter.
void Sunburst(cairo_t* cr, double radius, double alpha) {
    for (int i = 0; i < 180; i += 2) {
        const Point a = Polar(radius, i * 2.0);
        const Point b = Polar(radius, i * 2.0 + 2.0);
        cairo_move_to(cr, kCentreX, kCentreY);
        cairo_line_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
        cairo_close_path(cr);
    }
    SetColour(cr, 0xffffff, alpha);
    cairo_fill(cr);
}

// A ring of 24 hour numerals, 24 at the top and 12 at the bottom, the even hours bold.
void TwentyFourHours(cairo_t* cr, double radius, uint32_t colour, double size) {
    for (int hour = 1; hour <= 24; ++hour) {
        const bool even = hour % 2 == 0;
        SelectFont(cr, "DejaVu Sans", even, even ? size : size * 0.86);
        SetColour(cr, colour, even ? 1.0 : 0.72);
        const Point p = Polar(radius, hour * 15.0);
        CentredText(cr, std::to_string(hour).c_str(), p.x, p.y);
    }
}

// Sixty minute strokes, every fifth one longer and heavier, inside a thin circle.
void MinuteTrack(cairo_t* cr, double outer, double minor, double major, uint32_t colour) {
    SetColour(cr, colour, 0.6);
    cairo_set_line_width(cr, 0.6);
    CirclePath(cr, outer);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int minute = 0; minute < 60; ++minute) {
        const bool five = minute % 5 == 0;
        SetColour(cr, colour, five ? 0.95 : 0.7);
        Tick(cr, minute * 6.0, outer - (five ? major : minor), outer - 0.3, five ? 1.6 : 0.7);
    }
}

// ---- The wrist watch -------------------------------------------------------------------------

constexpr double kWristCase = 88.6;
constexpr double kWristDial = 78.0;

// One bracelet stub of three-piece links, from under the case out to its cut end.
void BraceletStub(cairo_t* cr, int side) {
    const double halfWidth = 29.5;
    const double end = side < 0 ? 14.35 : 236.1;
    const double base = kCentreY + side * 70;
    const double top = std::min(end, base);
    const double height = std::fabs(end - base);

    cairo_save(cr);
    RoundedRect(cr, kCentreX - halfWidth, top, 2 * halfWidth, height, 2.2);
    cairo_clip_preserve(cr);
    SetColour(cr, 0x2b3035);
    cairo_fill(cr);

    const double pitch = 11.4;
    const double link = 10.5;
    for (int row = 0; row < 5; ++row) {
        const double y = side < 0 ? end + row * pitch : end - row * pitch - link;
        // The outer pieces are brushed, the middle one polished.
        const struct {
            double x0, x1;
            bool polished;
        } pieces[] = {{-halfWidth, -10.9, false}, {-10.2, 10.2, true}, {10.9, halfWidth, false}};
        for (const auto& piece : pieces) {
            const double x0 = kCentreX + piece.x0;
            const double x1 = kCentreX + piece.x1;
            RoundedRect(cr, x0, y, x1 - x0, link, piece.polished ? 1.6 : 1.2);
            Pattern shade = piece.polished
                                ? Across(x0, x1, {0x9aa2a9, 0xf4f7f9, 0xb3bac1, 0xe6eaee, 0x858d95})
                                : Across(x0, x1, {0x737a81, 0xb9bfc5, 0xc9ced3, 0x8c939a});
            cairo_set_source(cr, shade.get());
            cairo_fill_preserve(cr);
            // The ends of each link round away from the light.
            Pattern ends(cairo_pattern_create_linear(0, y, 0, y + link));
            AddStop(ends.get(), 0, 0xffffff, 0.22);
            AddStop(ends.get(), 0.18, 0xffffff, 0);
            AddStop(ends.get(), 0.75, 0x000000, 0);
            AddStop(ends.get(), 1, 0x000000, 0.35);
            cairo_set_source(cr, ends.get());
            cairo_fill(cr);
            if (!piece.polished) {
                // Brushing along the bracelet.
                Noise noise(static_cast<uint32_t>(row * 7 + (piece.x0 < 0 ? 1 : 2) + side * 31));
                for (int line = 0; line < 9; ++line) {
                    const double lx = noise.Between(x0 + 1, x1 - 1);
                    SetColour(cr, line % 2 ? 0xffffff : 0x000000, noise.Between(0.03, 0.07));
                    cairo_set_line_width(cr, 0.4);
                    cairo_move_to(cr, lx, y + 1);
                    cairo_line_to(cr, lx, y + link - 1);
                    cairo_stroke(cr);
                }
            }
        }
    }
    // Farther from the case the bracelet turns away from the light.
    Pattern away(cairo_pattern_create_linear(0, base, 0, end));
    AddStop(away.get(), 0, 0x000000, 0);
    AddStop(away.get(), 1, 0x000000, 0.22);
    cairo_set_source(cr, away.get());
    cairo_paint(cr);
    cairo_restore(cr);
}

// The four horns that hold the bracelet to the case: straight inside, tapering outside.
void Lugs(cairo_t* cr) {
    for (int sx : {-1, 1}) {
        for (int sy : {-1, 1}) {
            // (across, out) from the centre, mirrored into each corner.
            auto at = [&](double across, double out) {
                return Point{kCentreX + sx * across, kCentreY + sy * out};
            };
            cairo_new_path(cr);
            const Point start = at(30.2, 62);
            cairo_move_to(cr, start.x, start.y);
            const Point p1 = at(30.2, 98);
            cairo_line_to(cr, p1.x, p1.y);
            const Point c1 = at(30.2, 101.2);
            const Point c2 = at(32.4, 101.6);
            const Point p2 = at(35.2, 101.6);
            cairo_curve_to(cr, c1.x, c1.y, c2.x, c2.y, p2.x, p2.y);
            const Point c3 = at(38.6, 101.6);
            const Point c4 = at(40.4, 99.4);
            const Point p3 = at(40.6, 96);
            cairo_curve_to(cr, c3.x, c3.y, c4.x, c4.y, p3.x, p3.y);
            const Point c5 = at(41.2, 86);
            const Point c6 = at(44.5, 74);
            const Point p4 = at(49, 62);
            cairo_curve_to(cr, c5.x, c5.y, c6.x, c6.y, p4.x, p4.y);
            cairo_close_path(cr);
            const double x0 = kCentreX + sx * 30.2;
            const double x1 = kCentreX + sx * 44;
            Pattern shade(cairo_pattern_create_linear(x0, 0, x1, 0));
            AddStop(shade.get(), 0, sx < 0 ? 0x7d848b : 0x9aa1a8);
            AddStop(shade.get(), 0.3, 0xf3f5f7);
            AddStop(shade.get(), 0.6, 0xc3c9ce);
            AddStop(shade.get(), 1, sx < 0 ? 0x8e959c : 0x5a6168);
            cairo_set_source(cr, shade.get());
            cairo_fill_preserve(cr);
            SetColour(cr, 0x3a3f44, 0.85);
            cairo_set_line_width(cr, 0.6);
            cairo_stroke(cr);
        }
    }
}

// The winding crown, on its stem out of the case towards the upper left.
void Crown(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, kCentreX, kCentreY);
    cairo_rotate(cr, Radians(285 - 90));  // the x axis now points out through the crown
    // Local y runs across the crown; its upper side faces the light.
    Pattern stemShade(cairo_pattern_create_linear(0, -5, 0, 5));
    AddStop(stemShade.get(), 0, 0xe4e8eb);
    AddStop(stemShade.get(), 0.45, 0xa3aab1);
    AddStop(stemShade.get(), 1, 0x565d64);
    cairo_rectangle(cr, 82, -4.6, 16, 9.2);
    cairo_set_source(cr, stemShade.get());
    cairo_fill(cr);

    Pattern shade(cairo_pattern_create_linear(0, -10.6, 0, 10.6));
    AddStop(shade.get(), 0, 0x80878e);
    AddStop(shade.get(), 0.22, 0xf2f5f7);
    AddStop(shade.get(), 0.5, 0xaeb5bc);
    AddStop(shade.get(), 0.8, 0x6c737a);
    AddStop(shade.get(), 1, 0x41474d);
    RoundedRect(cr, 97.2, -10.6, 16.2, 21.2, 2.6);
    cairo_set_source(cr, shade.get());
    cairo_fill_preserve(cr);
    SetColour(cr, 0x30353a, 0.9);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    // Knurled grip.
    cairo_set_line_width(cr, 0.6);
    for (double v = -9.0; v <= 9.01; v += 1.8) {
        SetColour(cr, 0x2e3338, 0.5);
        cairo_move_to(cr, 99.8, v);
        cairo_line_to(cr, 112.0, v);
        cairo_stroke(cr);
    }
    SetColour(cr, 0xffffff, 0.35);
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, 112.7, -8.5);
    cairo_line_to(cr, 112.7, 8.5);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void WristCase(cairo_t* cr) {
    // The polished bezel, and inside it the darker brushed flange down to the dial.
    ConicRing(cr, 82.6, kWristCase, [](double d) { return Steel(d, 0.66, 0.27); });
    ConicRing(cr, kWristDial - 1, 82.6, [](double d) { return Steel(d + 90, 0.46, 0.14); });

    Pattern edge(
        cairo_pattern_create_linear(kCentreX - 70, kCentreY - 70, kCentreX + 70, kCentreY + 70));
    AddStop(edge.get(), 0, 0xffffff, 0.8);
    AddStop(edge.get(), 0.5, 0x9aa1a8, 0.3);
    AddStop(edge.get(), 1, 0x22272c, 0.8);
    cairo_set_source(cr, edge.get());
    cairo_set_line_width(cr, 1.0);
    CirclePath(cr, kWristCase - 0.6);
    cairo_stroke(cr);

    // The step between bezel and flange: dark below the light, lit across from it.
    Pattern step(
        cairo_pattern_create_linear(kCentreX - 60, kCentreY - 60, kCentreX + 60, kCentreY + 60));
    AddStop(step.get(), 0, 0x1e2226, 0.85);
    AddStop(step.get(), 1, 0xf4f6f8, 0.7);
    cairo_set_source(cr, step.get());
    cairo_set_line_width(cr, 0.9);
    CirclePath(cr, 82.6);
    cairo_stroke(cr);
}

// A small sub-dial with its own painted needle, only decoration.
void SubDial(cairo_t* cr, double dx, double dy, double needle) {
    const double cx = kCentreX + dx;
    const double cy = kCentreY + dy;
    const double r = 14.5;
    Pattern well(cairo_pattern_create_radial(cx, cy, 0, cx, cy, r));
    AddStop(well.get(), 0, 0x0c2a1f);
    AddStop(well.get(), 1, 0x133d2d);
    CirclePath(cr, r, cx, cy);
    cairo_set_source(cr, well.get());
    cairo_fill(cr);
    // Snailed finish: fine concentric grooves.
    cairo_set_line_width(cr, 0.35);
    for (double g = 2; g < r - 0.5; g += 1.1) {
        SetColour(cr, 0xffffff, 0.05);
        CirclePath(cr, g, cx, cy);
        cairo_stroke(cr);
    }
    // The recess: shaded at the top, lit at the bottom.
    Pattern rim(cairo_pattern_create_linear(cx, cy - r, cx, cy + r));
    AddStop(rim.get(), 0, 0x000000, 0.6);
    AddStop(rim.get(), 1, 0xd8d2b8, 0.55);
    cairo_set_source(cr, rim.get());
    cairo_set_line_width(cr, 0.9);
    CirclePath(cr, r, cx, cy);
    cairo_stroke(cr);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int i = 0; i < 12; ++i) {
        const double a = Radians(i * 30.0);
        const double inner = i % 3 == 0 ? 10.4 : 11.6;
        SetColour(cr, 0xe8e2c8, i % 3 == 0 ? 0.75 : 0.5);
        cairo_set_line_width(cr, i % 3 == 0 ? 1.0 : 0.6);
        cairo_move_to(cr, cx + inner * std::sin(a), cy - inner * std::cos(a));
        cairo_line_to(cr, cx + 13.3 * std::sin(a), cy - 13.3 * std::cos(a));
        cairo_stroke(cr);
    }

    // The needle: a slim lance with a short counterweight.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, Radians(needle));
    cairo_move_to(cr, 0, -11.2);
    cairo_line_to(cr, 1.0, 0);
    cairo_line_to(cr, 0.7, 3.6);
    cairo_line_to(cr, -0.7, 3.6);
    cairo_line_to(cr, -1.0, 0);
    cairo_close_path(cr);
    SetColour(cr, 0xe2ae55);
    cairo_fill(cr);
    CirclePath(cr, 1.7, 0, 0);
    SetColour(cr, 0xe2ae55);
    cairo_fill(cr);
    CirclePath(cr, 0.6, 0, 0);
    SetColour(cr, 0x3a2a10);
    cairo_fill(cr);
    cairo_restore(cr);
}

// A dial lit from above left: a radial gradient from a small bright spot off the centre to the
// dial's edge, through its middle colour at six tenths of the way.
struct DialColours {
    uint32_t lit, middle, edge;
};

void LitDial(cairo_t* cr, double radius, double spotDx, double spotDy, DialColours colours) {
    Pattern light(cairo_pattern_create_radial(kCentreX + spotDx, kCentreY + spotDy, 4, kCentreX,
                                              kCentreY, radius));
    AddStop(light.get(), 0, colours.lit);
    AddStop(light.get(), 0.6, colours.middle);
    AddStop(light.get(), 1, colours.edge);
    CirclePath(cr, radius);
    cairo_set_source(cr, light.get());
    cairo_fill(cr);
}

void WristDial(cairo_t* cr) {
    LitDial(cr, kWristDial, -12, -14, {0x22634b, 0x164836, 0x0a281d});
    Sunburst(cr, kWristDial, 0.022);

    const uint32_t cream = 0xece6cf;
    MinuteTrack(cr, 76.8, 2.6, 4.0, cream);
    TwentyFourHours(cr, 63.0, cream, 8.4);

    SubDial(cr, -34, 0, 300);
    SubDial(cr, 34, 0, 48);
    SubDial(cr, 0, 34, 200);

    SelectFont(cr, "DejaVu Sans", false, 6.2);
    SetColour(cr, cream, 0.9);
    SpacedText(cr, "VELMORA", kCentreX, kCentreY - 37, 1.4);
    SelectFont(cr, "DejaVu Sans", false, 4.3);
    SetColour(cr, cream, 0.55);
    SpacedText(cr, "TWENTY-FOUR HOURS", kCentreX, kCentreY - 29.5, 0.4);

    InnerShadow(cr, kWristDial, 7, 0.4);
    GlassSheen(cr, kWristDial, 0.08);
}

void PaintWrist(cairo_t* cr) {
    BraceletStub(cr, -1);
    BraceletStub(cr, 1);
    Lugs(cr);
    Crown(cr);
    WristCase(cr);
    WristDial(cr);
}

// ---- The wall clock --------------------------------------------------------------------------

constexpr double kWallRim = 81.25;
constexpr double kWallDial = 72.6;

void WallRim(cairo_t* cr) {
    // Thick glass: bluish, clear where it faces away, bright where it catches the light.
    ConicRing(cr, kWallDial - 1, kWallRim, [](double d) {
        const double light = std::cos(Radians(d - 315));
        const double v = 0.42 + 0.26 * light + 0.1 * std::cos(Radians(2 * (d - 315)));
        return Rgba{v * 0.66, v * 0.86, std::min(1.0, v * 1.05 + 0.12),
                    std::min(1.0, 0.9 + 0.14 * light)};
    });
    cairo_save(cr);
    RingPath(cr, kWallDial, kWallRim);
    cairo_clip(cr);
    // Light bends through the rounded glass: a bright band along its middle.
    Pattern band(
        cairo_pattern_create_radial(kCentreX, kCentreY, kWallDial, kCentreX, kCentreY, kWallRim));
    AddStop(band.get(), 0, 0x000000, 0.35);
    AddStop(band.get(), 0.35, 0xffffff, 0.0);
    AddStop(band.get(), 0.6, 0xd8f0ff, 0.28);
    AddStop(band.get(), 0.85, 0xffffff, 0.0);
    AddStop(band.get(), 1, 0x000000, 0.2);
    cairo_set_source(cr, band.get());
    cairo_paint(cr);
    cairo_restore(cr);

    // Specular streaks.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const struct {
        double from, to, radius, width, alpha;
    } streaks[] = {
        {285, 338, 77.6, 2.0, 0.75}, {345, 352, 77.6, 1.4, 0.5}, {112, 128, 78.0, 1.2, 0.35}};
    for (const auto& s : streaks) {
        SetColour(cr, 0xffffff, s.alpha);
        cairo_set_line_width(cr, s.width);
        cairo_new_path(cr);
        cairo_arc(cr, kCentreX, kCentreY, s.radius, Radians(s.from - 90), Radians(s.to - 90));
        cairo_stroke(cr);
    }
    // The polished outer edge, and the dark seat of the glass on the dial.
    Pattern edge(
        cairo_pattern_create_linear(kCentreX - 60, kCentreY - 60, kCentreX + 60, kCentreY + 60));
    AddStop(edge.get(), 0, 0xf2f7ff);
    AddStop(edge.get(), 1, 0x6b7fa6);
    cairo_set_source(cr, edge.get());
    cairo_set_line_width(cr, 0.9);
    CirclePath(cr, kWallRim - 0.5);
    cairo_stroke(cr);
    SetColour(cr, 0x050a18);
    cairo_set_line_width(cr, 0.9);
    CirclePath(cr, kWallDial + 0.2);
    cairo_stroke(cr);
}

void WallDial(cairo_t* cr) {
    LitDial(cr, kWallDial, -10, -12, {0x1f3f80, 0x152c60, 0x0a1737});
    Sunburst(cr, kWallDial, 0.018);

    const uint32_t ice = 0xdce6ff;
    MinuteTrack(cr, 70.2, 2.4, 3.8, ice);
    TwentyFourHours(cr, 57.2, ice, 7.8);

    // The ring that marks the centre, where the hands turn.
    SetColour(cr, 0x0a1530, 0.7);
    CirclePath(cr, 5.0);
    cairo_fill(cr);
    SetColour(cr, ice, 0.9);
    cairo_set_line_width(cr, 1.2);
    CirclePath(cr, 5.0);
    cairo_stroke(cr);

    SelectFont(cr, "DejaVu Sans", false, 5.8);
    SetColour(cr, ice, 0.85);
    SpacedText(cr, "VELMORA", kCentreX, kCentreY - 30, 1.3);

    InnerShadow(cr, kWallDial, 6, 0.45);
    GlassSheen(cr, kWallDial, 0.07);
}

void PaintWall(cairo_t* cr) {
    WallDial(cr);
    WallRim(cr);
}

// ---- The antique clock -----------------------------------------------------------------------

constexpr double kWoodOuter = 91.6;
constexpr double kWoodInner = 71.6;
constexpr double kAntiqueDial = 69.6;

void WoodBezel(cairo_t* cr) {
    // A turned profile: rounded, so lightest along its middle.
    Pattern profile(cairo_pattern_create_radial(kCentreX, kCentreY, kWoodInner, kCentreX, kCentreY,
                                                kWoodOuter));
    AddStop(profile.get(), 0, 0x33100a);
    AddStop(profile.get(), 0.12, 0x5a1e12);
    AddStop(profile.get(), 0.45, 0x7b2d19);
    AddStop(profile.get(), 0.7, 0x612214);
    AddStop(profile.get(), 0.92, 0x3f140b);
    AddStop(profile.get(), 1, 0x2a0c06);
    RingPath(cr, kWoodInner, kWoodOuter);
    cairo_set_source(cr, profile.get());
    cairo_fill(cr);

    // The figure of the wood: broad bands of lighter and darker timber around the ring.
    ConicRing(cr, kWoodInner, kWoodOuter, [](double d) {
        const double a = Radians(d);
        const double f = 0.5 * std::sin(3 * a + 0.7) + 0.3 * std::sin(7 * a + 2.1) +
                         0.2 * std::sin(13 * a + 4.0);
        return f > 0 ? Rgba{0.85, 0.45, 0.25, 0.16 * f} : Rgba{0.05, 0.0, 0.0, -0.3 * f};
    });

    cairo_save(cr);
    RingPath(cr, kWoodInner, kWoodOuter);
    cairo_clip(cr);
    // Grain running around the ring, as on wood turned on a lathe, wavering a little.
    Noise noise(20240611);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 240; ++i) {
        const double radius = noise.Between(kWoodInner + 0.5, kWoodOuter - 0.3);
        const double start = noise.Between(0, 360);
        const double sweep = noise.Between(20, 170);
        const double wave = noise.Between(0.2, 1.1);
        const double waves = std::floor(noise.Between(2, 7));
        const double phase = noise.Between(0, 2 * kPi);
        const bool dark = noise.Next() < 0.62;
        SetColour(cr, dark ? 0x1c0603 : 0xc06a40,
                  dark ? noise.Between(0.14, 0.38) : noise.Between(0.06, 0.16));
        cairo_set_line_width(cr, noise.Between(0.25, 0.85));
        cairo_new_path(cr);
        for (double d = start; d <= start + sweep; d += 1.5) {
            const Point p = Polar(radius + wave * std::sin(Radians(d) * waves + phase), d);
            cairo_line_to(cr, p.x, p.y);
        }
        cairo_stroke(cr);
    }
    // Lacquer catching the light at the upper left.
    Pattern lacquer(
        cairo_pattern_create_linear(kCentreX - 80, kCentreY - 80, kCentreX + 40, kCentreY + 40));
    AddStop(lacquer.get(), 0, 0xffe0c8, 0.3);
    AddStop(lacquer.get(), 0.45, 0xffffff, 0);
    AddStop(lacquer.get(), 1, 0x000000, 0.25);
    cairo_set_source(cr, lacquer.get());
    cairo_paint(cr);
    SetColour(cr, 0xfff0e0, 0.35);
    cairo_set_line_width(cr, 1.6);
    cairo_new_path(cr);
    cairo_arc(cr, kCentreX, kCentreY, 83, Radians(292 - 90), Radians(338 - 90));
    cairo_stroke(cr);
    cairo_restore(cr);

    SetColour(cr, 0x160402);
    cairo_set_line_width(cr, 0.8);
    CirclePath(cr, kWoodOuter - 0.4);
    cairo_stroke(cr);

    // The gilt ring that frames the dial.
    ConicRing(cr, kAntiqueDial - 1, kWoodInner + 0.6, [](double d) {
        const double v = std::cos(Radians(2 * (d - 315)));
        return Rgba{(0xc9 + 0x2a * v) / 255.0, (0x9c + 0x38 * v) / 255.0, (0x4a + 0x38 * v) / 255.0,
                    1.0};
    });
    SetColour(cr, 0x3a240c, 0.8);
    cairo_set_line_width(cr, 0.6);
    CirclePath(cr, kWoodInner + 0.5);
    cairo_stroke(cr);
}

// A silver ornament over the bezel, drawn as if at twelve o'clock and turned into place; its
// tip is `tip` from the centre.
void Ornament(cairo_t* cr, double degrees, double tip) {
    constexpr double kScrollAt = 86.8;      // out from the centre
    constexpr double kScrollAcross = 10.2;  // either side of the middle
    constexpr double kScrollRadius = 4.4;
    cairo_save(cr);
    cairo_translate(cr, kCentreX, kCentreY);
    cairo_rotate(cr, Radians(degrees));
    // In this frame "out" is up: a point at distance u from the centre, v across, is (v, -u).
    auto at = [&](double u, double v) { return Point{v, -u}; };

    cairo_new_path(cr);
    // Two scrolls curling away from the middle.
    for (int side : {-1, 1}) {
        const Point c = at(kScrollAt, side * kScrollAcross);
        CirclePath(cr, kScrollRadius, c.x, c.y);
    }
    // The central leaf, from a waist on the wood out to a rounded tip past the rim.
    const Point w0 = at(80.5, -6.0);
    const Point w1 = at(80.5, 6.0);
    cairo_move_to(cr, w0.x, w0.y);
    const Point a1 = at(88, -10.5);
    const Point a2 = at(tip - 5.5, -5.6);
    const Point t0 = at(tip - 1.2, -1.5);
    cairo_curve_to(cr, a1.x, a1.y, a2.x, a2.y, t0.x, t0.y);
    const Point t1 = at(tip - 1.2, 1.5);
    cairo_curve_to(cr, at(tip + 0.4, -0.6).x, at(tip + 0.4, -0.6).y, at(tip + 0.4, 0.6).x,
                   at(tip + 0.4, 0.6).y, t1.x, t1.y);
    const Point b2 = at(tip - 5.5, 5.6);
    const Point b1 = at(88, 10.5);
    cairo_curve_to(cr, b2.x, b2.y, b1.x, b1.y, w1.x, w1.y);
    const Point base = at(77.6, 0);
    cairo_curve_to(cr, at(79, 3.5).x, at(79, 3.5).y, base.x + 2, base.y, base.x, base.y);
    cairo_curve_to(cr, base.x - 2, base.y, at(79, -3.5).x, at(79, -3.5).y, w0.x, w0.y);
    cairo_close_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);

    Pattern silver(cairo_pattern_create_linear(-12, -tip, 12, -76));
    AddStop(silver.get(), 0, 0x8c9198);
    AddStop(silver.get(), 0.3, 0xf8f9fb);
    AddStop(silver.get(), 0.5, 0xb4b9bf);
    AddStop(silver.get(), 0.7, 0xeceef1);
    AddStop(silver.get(), 1, 0x767b82);
    cairo_set_source(cr, silver.get());
    cairo_fill_preserve(cr);
    SetColour(cr, 0x2f3236, 0.85);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);

    // Engraving: the curls of the scrolls and the vein of the leaf.
    SetColour(cr, 0x3b3f44, 0.8);
    cairo_set_line_width(cr, 0.55);
    for (int side : {-1, 1}) {
        const Point c = at(kScrollAt, side * kScrollAcross);
        cairo_new_path(cr);
        for (int k = 0; k <= 40; ++k) {
            const double t = k / 40.0;
            const double r = (kScrollRadius - 1) * (1 - 0.75 * t);
            const double a = side * (t * 1.7 * kPi) + (side < 0 ? 0 : kPi);
            const double x = c.x + r * std::cos(a);
            const double y = c.y + r * std::sin(a);
            if (k == 0) {
                cairo_move_to(cr, x, y);
            } else {
                cairo_line_to(cr, x, y);
            }
        }
        cairo_stroke(cr);
    }
    cairo_move_to(cr, at(81.5, 0).x, at(81.5, 0).y);
    cairo_line_to(cr, at(tip - 3.2, 0).x, at(tip - 3.2, 0).y);
    cairo_stroke(cr);
    // A bead where the leaf meets the wood.
    const Point bead = at(80.2, 0);
    Pattern shine(
        cairo_pattern_create_radial(bead.x - 0.8, bead.y - 0.8, 0.2, bead.x, bead.y, 2.2));
    AddStop(shine.get(), 0, 0xffffff);
    AddStop(shine.get(), 1, 0x8a8f96);
    CirclePath(cr, 2.0, bead.x, bead.y);
    cairo_set_source(cr, shine.get());
    cairo_fill(cr);
    cairo_restore(cr);
}

void AntiqueDial(cairo_t* cr) {
    Pattern cream(cairo_pattern_create_radial(kCentreX - 8, kCentreY - 10, 3, kCentreX, kCentreY,
                                              kAntiqueDial));
    AddStop(cream.get(), 0, 0xf8f1dc);
    AddStop(cream.get(), 0.7, 0xf0e4c4);
    AddStop(cream.get(), 1, 0xdcc796);
    CirclePath(cr, kAntiqueDial);
    cairo_set_source(cr, cream.get());
    cairo_fill(cr);
    // Age: the faintest speckle on the enamel.
    Noise noise(1887);
    for (int i = 0; i < 500; ++i) {
        const double r = kAntiqueDial * std::sqrt(noise.Next());
        const Point p = Polar(r, noise.Between(0, 360));
        SetColour(cr, 0x6b4a22, noise.Between(0.02, 0.06));
        CirclePath(cr, noise.Between(0.3, 0.8), p.x, p.y);
        cairo_fill(cr);
    }

    const uint32_t ink = 0x2a170c;
    // A railway minute track between two circles, the fifth minutes marked with dots.
    SetColour(cr, ink, 0.85);
    cairo_set_line_width(cr, 0.6);
    CirclePath(cr, 66.4);
    cairo_stroke(cr);
    CirclePath(cr, 62.4);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int minute = 0; minute < 60; ++minute) {
        if (minute % 5 == 0) {
            const Point p = Polar(64.4, minute * 6.0);
            SetColour(cr, ink, 0.9);
            CirclePath(cr, 1.25, p.x, p.y);
            cairo_fill(cr);
        } else {
            SetColour(cr, ink, 0.75);
            Tick(cr, minute * 6.0, 62.4, 66.4, 0.55);
        }
    }

    SelectFont(cr, "P052", false, 15.5);
    SetColour(cr, ink);
    for (int hour = 1; hour <= 12; ++hour) {
        const Point p = Polar(52.0, hour * 30.0);
        CentredText(cr, std::to_string(hour).c_str(), p.x, p.y);
    }

    SelectFont(cr, "P052", false, 8.5, true);
    SetColour(cr, 0x5a3a22, 0.9);
    CentredText(cr, "Velmora", kCentreX, kCentreY + 25);
    // A small flourish under the name.
    cairo_set_line_width(cr, 0.5);
    SetColour(cr, 0x5a3a22, 0.6);
    cairo_move_to(cr, kCentreX - 11, kCentreY + 31);
    cairo_curve_to(cr, kCentreX - 4, kCentreY + 28.5, kCentreX + 4, kCentreY + 33.5, kCentreX + 11,
                   kCentreY + 31);
    cairo_stroke(cr);

    InnerShadow(cr, kAntiqueDial, 6, 0.3);
    GlassSheen(cr, kAntiqueDial, 0.12);
}

void PaintAntique(cairo_t* cr) {
    WoodBezel(cr);
    AntiqueDial(cr);
    // Left and right ornaments reach a pixel farther than the top and bottom ones.
    Ornament(cr, 0, 98.6);
    Ornament(cr, 90, 99.6);
    Ornament(cr, 180, 98.6);
    Ornament(cr, 270, 99.6);
}

Skin Make(const char* file, const FinishStyle& style, void (*paint)(cairo_t*)) {
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSkinWidth, kSkinHeight));
    Context cr(cairo_create(surface.get()));
    paint(cr.get());
    Skin skin;
    skin.file = file;
    skin.style = style;
    skin.image = FinishSkin(surface.get(), style, &skin.report);
    return skin;
}

}  // namespace

std::vector<Skin> MakeSkins() {
    std::vector<Skin> skins;
    skins.push_back(Make("velmora.png",
                         FinishStyle{230, 253, kWristDial, Box{13, 14, 219, 241},
                                     ShadowStyle{1.5, 2.6, 3.5, 3.0, 0.5}},
                         PaintWrist));
    skins.push_back(Make("velmora1.png",
                         FinishStyle{217, 252, kWallDial, Box{45, 43, 210, 210},
                                     ShadowStyle{1.5, 0.5, 2.0, 3.0, 0.45}},
                         PaintWall));
    skins.push_back(Make("velmora2.png",
                         FinishStyle{230, 253, kAntiqueDial, Box{26, 27, 229, 228},
                                     ShadowStyle{1.5, 1.5, 2.6, 2.6, 0.5}},
                         PaintAntique));
    return skins;
}

}  // namespace velmora::art
