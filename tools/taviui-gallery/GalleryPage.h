#pragma once
// The gallery's picture: every drawing helper once, at fixed places (the
// screenshot test checks colours at some of them).
#include "toolkit/core/Canvas.h"

namespace gallery {

constexpr int kWidth = 640;
constexpr int kHeight = 400;

void DrawPage(Canvas& canvas);

}  // namespace gallery
