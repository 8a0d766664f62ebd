#pragma once
// A small list of pictures from the skin folder, each cut into `count`
// equal slices, drawn by index (and state slice) at a common size.
// Thread-safety: every operation takes the list's lock; any thread.
#include <memory>
#include <mutex>
#include <vector>

#include "toolkit/core/Canvas.h"
#include "toolkit/core/Image.h"
#include "toolkit/core/Types.h"

struct _M_IAMGELIST {
  std::unique_ptr<Image> image;
  int sliceWidth = 0;
  int height = 0;
  int count = 1;
  unsigned id = 0;
  CString path;
};

class MImageList {
 public:
  MImageList() = default;
  MImageList(const MImageList&) = delete;
  MImageList& operator=(const MImageList&) = delete;

  // False when the picture cannot be loaded (nothing is added).
  bool AddImage(const CString& path, int count, unsigned id);
  bool InsertImage(int index, const CString& path, int count, unsigned id);
  // Draws slice `state` of entry `index` centred in rect at the drawing
  // size (the slice's own size while none is set).
  void DrawItemIcon(Canvas& graphics, CRect rect, int index, int state = 0) const;
  void SetDrawImgSize(int width, int height);
  CSize GetIconSize() const;
  const _M_IAMGELIST* GetItemImageData(int index) const;
  const _M_IAMGELIST* GetImageDataByID(unsigned id) const;
  CString GetImagePath(int index) const;
  CString GetImagePathByID(unsigned id) const;
  int GetImageCount() const;
  void DelAllImages();

 private:
  std::unique_ptr<_M_IAMGELIST> Load(const CString& path, int count, unsigned id) const;

  std::vector<std::unique_ptr<_M_IAMGELIST>> m_images;
  mutable std::mutex m_lock;
  int m_drawWidth = 0;
  int m_drawHeight = 0;
};
