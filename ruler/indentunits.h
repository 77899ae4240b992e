#pragma once
// Paragraph indents are whole points; the ruler works in its own pixels. The two meet at the fixed
// factor of 4/3 pixels per point (96 pixels per inch over 72 points per inch), whatever the screen.

namespace indentunits {

// trunc(points × 4/3).
constexpr int pixelsFromPoints(int points) { return points * 4 / 3; }

// The exact inverse of pixelsFromPoints: the point count that gives `pixels`, so that a handle
// released where it stood writes back the indent it came from. For a pixel count that no point count
// gives, the next point count away from zero (one pixel further out).
constexpr int pointsFromPixels(int pixels) {
    const int magnitude = (3 * (pixels < 0 ? -pixels : pixels) + 3) / 4;  // ceil(3|n| / 4)
    return pixels < 0 ? -magnitude : magnitude;
}

}  // namespace indentunits
