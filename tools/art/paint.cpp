#include "paint.h"

#include <cmath>

namespace velmora::art {

void SetColour(cairo_t* cr, uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0,
                          (rgb & 0xff) / 255.0, alpha);
}

void AddStop(cairo_pattern_t* pattern, double offset, uint32_t rgb, double alpha) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, ((rgb >> 16) & 0xff) / 255.0,
                                      ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, alpha);
}

Point Polar(double radius, double degrees) {
    const double a = degrees * kPi / 180.0;
    return Point{kCentreX + radius * std::sin(a), kCentreY - radius * std::cos(a)};
}

void CirclePath(cairo_t* cr, double radius, double cx, double cy) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
    cairo_close_path(cr);
}

void RingPath(cairo_t* cr, double inner, double outer) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    CirclePath(cr, outer);
    CirclePath(cr, inner);
}

void Tick(cairo_t* cr, double degrees, double inner, double outer, double width) {
    const Point from = Polar(inner, degrees);
    const Point to = Polar(outer, degrees);
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, from.x, from.y);
    cairo_line_to(cr, to.x, to.y);
    cairo_stroke(cr);
}

void CentredText(cairo_t* cr, const char* text, double x, double y) {
    cairo_text_extents_t ink;
    cairo_text_extents(cr, text, &ink);
    cairo_move_to(cr, x - (ink.x_bearing + ink.width / 2), y - (ink.y_bearing + ink.height / 2));
    cairo_show_text(cr, text);
    cairo_new_path(cr);
}

void SelectFont(cairo_t* cr, const char* family, bool bold, double size, bool italic) {
    cairo_select_font_face(cr, family, italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double Noise::Next() {
    // xorshift32: small, fast and the same everywhere.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return (state_ >> 8) / 16777216.0;
}

}  // namespace velmora::art
