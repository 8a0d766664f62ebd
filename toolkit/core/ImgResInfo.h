#pragma once
// One distinct picture of a window's image registry, shared by every
// control of that window that asks for it.  Owned by the PaintManager; the
// first request fixes the number of states and so the slice width.
#include <memory>

#include "toolkit/core/Image.h"
#include "toolkit/core/Types.h"

struct ImgResInfo {
  std::unique_ptr<Image> image;
  int sliceWidth = 0;  // image width / states (integer division)
  int height = 0;
  int states = 1;
  CString fileName;    // empty for resource images
  unsigned resourceId = 0;
};
