#include "toolkit/core/Image.h"

Image::Image(std::vector<Frame> frames) : m_frames(std::move(frames)) {}

std::unique_ptr<Image> Image::FromCanvas(Canvas canvas) {
  if (!canvas.IsValid()) {
    return nullptr;
  }
  std::vector<Frame> frames;
  frames.push_back({std::move(canvas), 0});
  return std::make_unique<Image>(std::move(frames));
}

const Canvas& Image::GetFrame(size_t index) const {
  return m_frames[index < m_frames.size() ? index : 0].pixels;
}

int Image::GetFrameDelay(size_t index) const {
  return index < m_frames.size() ? m_frames[index].delayMs : 0;
}
