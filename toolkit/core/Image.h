#pragma once
// A decoded picture: one frame for PNG, BMP and icons, every frame of an
// animated GIF (each frame already composed over the previous ones, with its
// delay).  Immutable once decoded, so it may be shared between threads.
#include <memory>
#include <vector>

#include "toolkit/core/Canvas.h"

class Image {
 public:
  struct Frame {
    Canvas pixels;
    int delayMs = 0;
  };

  explicit Image(std::vector<Frame> frames);
  // A one-frame picture; null when the canvas is not valid.
  static std::unique_ptr<Image> FromCanvas(Canvas canvas);

  int GetWidth() const { return m_frames.empty() ? 0 : m_frames.front().pixels.Width(); }
  int GetHeight() const { return m_frames.empty() ? 0 : m_frames.front().pixels.Height(); }
  size_t GetFrameCount() const { return m_frames.size(); }
  // The first frame for an index out of range.
  const Canvas& GetFrame(size_t index = 0) const;
  int GetFrameDelay(size_t index) const;

 private:
  std::vector<Frame> m_frames;
};
