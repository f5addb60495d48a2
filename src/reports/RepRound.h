#pragma once

#include <cmath>

// The integer nearest to x, halves going to the even neighbour.
inline int nearest(double x)
{
    return int(std::nearbyint(x));
}
