#include "toolkit/core/MImageList.h"

#include <algorithm>

#include "toolkit/core/MRender.h"
#include "toolkit/core/SkinFolder.h"

std::unique_ptr<_M_IAMGELIST> MImageList::Load(const CString& path, int count, unsigned id) const {
  std::unique_ptr<Image> image = MRender::LoadImageFromFile(SkinFolder::SkinFile(path));
  if (!image) return nullptr;
  auto entry = std::make_unique<_M_IAMGELIST>();
  entry->count = std::max(1, count);
  entry->sliceWidth = image->GetWidth() / entry->count;
  entry->height = image->GetHeight();
  entry->id = id;
  entry->path = path;
  entry->image = std::move(image);
  return entry;
}

bool MImageList::AddImage(const CString& path, int count, unsigned id) {
  auto entry = Load(path, count, id);
  if (!entry) return false;
  std::scoped_lock lock(m_lock);
  m_images.push_back(std::move(entry));
  return true;
}

bool MImageList::InsertImage(int index, const CString& path, int count, unsigned id) {
  auto entry = Load(path, count, id);
  if (!entry) return false;
  std::scoped_lock lock(m_lock);
  const size_t at = std::clamp<size_t>(index < 0 ? 0 : static_cast<size_t>(index), 0, m_images.size());
  m_images.insert(m_images.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
  return true;
}

void MImageList::DrawItemIcon(Canvas& graphics, CRect rect, int index, int state) const {
  std::scoped_lock lock(m_lock);
  if (index < 0 || static_cast<size_t>(index) >= m_images.size()) return;
  const _M_IAMGELIST& e = *m_images[static_cast<size_t>(index)];
  if (state < 0 || state >= e.count || e.sliceWidth <= 0) return;
  const int w = m_drawWidth > 0 ? m_drawWidth : e.sliceWidth;
  const int h = m_drawHeight > 0 ? m_drawHeight : e.height;
  const int x = rect.left + (rect.Width() - w) / 2;
  const int y = rect.top + (rect.Height() - h) / 2;
  graphics.DrawCanvas(e.image->GetFrame(0), x, y, w, h, state * e.sliceWidth, 0, e.sliceWidth, e.height);
}

void MImageList::SetDrawImgSize(int width, int height) {
  std::scoped_lock lock(m_lock);
  m_drawWidth = width;
  m_drawHeight = height;
}

CSize MImageList::GetIconSize() const {
  std::scoped_lock lock(m_lock);
  return {m_drawWidth, m_drawHeight};
}

const _M_IAMGELIST* MImageList::GetItemImageData(int index) const {
  std::scoped_lock lock(m_lock);
  if (index < 0 || static_cast<size_t>(index) >= m_images.size()) return nullptr;
  return m_images[static_cast<size_t>(index)].get();
}

const _M_IAMGELIST* MImageList::GetImageDataByID(unsigned id) const {
  std::scoped_lock lock(m_lock);
  for (const auto& e : m_images) {
    if (e->id == id) return e.get();
  }
  return nullptr;
}

CString MImageList::GetImagePath(int index) const {
  const _M_IAMGELIST* e = GetItemImageData(index);
  return e ? e->path : CString();
}

CString MImageList::GetImagePathByID(unsigned id) const {
  const _M_IAMGELIST* e = GetImageDataByID(id);
  return e ? e->path : CString();
}

int MImageList::GetImageCount() const {
  std::scoped_lock lock(m_lock);
  return static_cast<int>(m_images.size());
}

void MImageList::DelAllImages() {
  std::scoped_lock lock(m_lock);
  m_images.clear();
}
