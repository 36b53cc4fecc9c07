// Polygon regions: the point test and every fill share one rule, so what is drawn and what
// is tested agree pixel for pixel.
#include "platform/region.h"

#include <algorithm>

namespace {

// Twice the signed area of the triangle (a, b, p): positive when p lies left of a->b in a
// y-up frame, zero when p lies on the line through a and b.
double Side(Point a, Point b, double px, double py) {
    return (b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y);
}

bool OnSegment(Point a, Point b, double px, double py) {
    if (Side(a, b, px, py) != 0.0) return false;
    return px >= std::min(a.x, b.x) && px <= std::max(a.x, b.x) && py >= std::min(a.y, b.y) &&
           py <= std::max(a.y, b.y);
}

bool OnOutline(const std::vector<Point>& points, double px, double py) {
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (OnSegment(points[i], points[(i + 1) % n], px, py)) return true;
    }
    return false;
}

}  // namespace

int WindingNumber(const Point* points, int count, double px, double py) {
    int winding = 0;
    for (int i = 0; i < count; ++i) {
        const Point a = points[i];
        const Point b = points[(i + 1) % count];
        if (a.y <= py) {
            if (b.y > py && Side(a, b, px, py) > 0) ++winding;
        } else {
            if (b.y <= py && Side(a, b, px, py) < 0) --winding;
        }
    }
    return winding;
}

Region Region::FromPolygon(const Point* points, int count) {
    Region region;
    if (!points || count < 3) return region;
    region.points_.assign(points, points + count);
    Rect box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : region.points_) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    // The outline itself belongs to the region, so the last column and row do too.
    box.right += 1;
    box.bottom += 1;
    region.bounds_ = box;
    region.valid_ = true;
    return region;
}

// Points exactly on the outline count as inside: the vertices and the diagonal edges of the
// corner pieces pass through whole pixels, and those pixels belong to the piece they border.
bool Region::Contains(int x, int y) const {
    if (!valid_) return false;
    if (x < bounds_.left || y < bounds_.top || x >= bounds_.right || y >= bounds_.bottom) return false;
    return OnOutline(points_, x, y) || WindingNumber(points_.data(), static_cast<int>(points_.size()), x, y) != 0;
}
