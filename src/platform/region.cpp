// Placeholder; replaced by the platform layer's implementation.
#include "platform/region.h"
Region Region::FromPolygon(const Point*, int) { return Region(); }
bool Region::Contains(int, int) const { return false; }
int WindingNumber(const Point*, int, double, double) { return 0; }
