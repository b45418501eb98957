// The three clock faces: a steel wrist watch, a glass-rimmed wall clock and an antique clock.
#pragma once

#include <string>
#include <vector>

#include "finish.h"
#include "image.h"

namespace velmora::art {

struct Skin {
    std::string file;  // the name under assets/
    FinishStyle style;
    Image image;
    FinishReport report;
};

// Paints and finishes every skin, in the order the clock numbers them.
std::vector<Skin> MakeSkins();

}  // namespace velmora::art
