// The picture of all the skins side by side on a desktop, for the README.
#pragma once

#include <vector>

#include "image.h"

namespace velmora::art {

Image Showcase(const std::vector<const Image*>& skins);

}  // namespace velmora::art
