// Polygon regions filled by the nonzero winding rule.
#pragma once
#include <vector>

#include "platform/geometry.h"

// A pixel (x, y) belongs to the region when the point (x, y) itself has a nonzero winding
// number around the polygon or lies exactly on its outline. So a polygon mirrored pixel for
// pixel (c -> 127 - c) holds exactly the mirrored pixels. Filling and the point test use the
// same rule, so a drawn region and its point test always agree pixel for pixel.
class Region {
public:
    // Fewer than three points give an empty (invalid) region, as a failed creation would.
    static Region FromPolygon(const Point* points, int count);
    Region() = default;

    bool IsValid() const { return valid_; }
    bool Contains(int x, int y) const;
    // Bounding box of the pixels that can belong to the region.
    Rect Bounds() const { return bounds_; }
    // The polygon's corners in order; the outline closes from the last back to the first.
    const std::vector<Point>& Points() const { return points_; }

private:
    std::vector<Point> points_;
    Rect bounds_{0, 0, 0, 0};
    bool valid_ = false;
};

// Winding number of the point (px, py) (any real position) around the closed polygon.
int WindingNumber(const Point* points, int count, double px, double py);
