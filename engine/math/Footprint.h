#pragma once
// Turns a rectangle of cells given relative to a building into absolute
// cells, for a rotation of 0-3 quarter turns. (a, c) is the reference cell
// the building supplies; x, y (corner) and w, l (size) change in place. All
// arithmetic is 16-bit with wrap-around. Other rotation codes change nothing.
#include <cstdint>

void RotateFootprint(int32_t rotation, int16_t a, int16_t c, int16_t& x, int16_t& y, int16_t& w, int16_t& l);
