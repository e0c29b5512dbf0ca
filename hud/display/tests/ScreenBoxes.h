// Where pelmora's boxes are in a picture of the screen, for the x11 tests
// that look at what a player would see.
#pragma once

#include <QImage>
#include <QRect>

#include <vector>

namespace vxtest {

// The areas of the boxes' background colour larger than a few letters,
// found by flood fill, in the order of their top-left corners.
std::vector<QRect> FindBoxes(const QImage& image);

}  // namespace vxtest
