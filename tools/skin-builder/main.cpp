// kestrel-skin-builder: draws the skin folder skins/theme1/ (every picture
// of SkinCatalog.h, the wait animation, the window icon and the keyboard
// pictures of the given layouts), the toolkit's scroll-bar pictures and the
// desktop icon.  Run by the build; the same inputs give the same bytes.
//
//   kestrel-skin-builder --skin DIR [--layout FILE]... [--resources DIR] [--app-icon FILE]
//                        [--preview FILE]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Outputs.h"
#include "Painters.h"
#include "SkinCatalog.h"

namespace {

bool WriteStrip(const std::string& skinFolder, const SkinPicture& picture) {
  const SlicePainter paint = FindSlicePainter(picture.file);
  if (paint == nullptr) {
    std::fprintf(stderr, "skin-builder: no painter for %.*s\n", static_cast<int>(picture.file.size()),
                 picture.file.data());
    return false;
  }
  Canvas canvas(picture.sliceWidth * picture.states, picture.height);
  for (int state = 0; state < picture.states; ++state) {
    cairo_save(canvas.Cr());
    cairo_rectangle(canvas.Cr(), state * picture.sliceWidth, 0, picture.sliceWidth, picture.height);
    cairo_clip(canvas.Cr());
    cairo_translate(canvas.Cr(), state * picture.sliceWidth, 0);
    paint(canvas.Cr(), state, picture.sliceWidth, picture.height);
    cairo_restore(canvas.Cr());
  }
  return canvas.SavePng(skinFolder + "/" + std::string(picture.file));
}

bool Report(bool ok, const std::string& what) {
  if (!ok) std::fprintf(stderr, "skin-builder: could not write %s\n", what.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  std::string skinFolder, resourceFolder, appIcon, preview;
  std::vector<std::string> layouts;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--skin") == 0) skinFolder = argv[i + 1];
    else if (std::strcmp(argv[i], "--layout") == 0) layouts.emplace_back(argv[i + 1]);
    else if (std::strcmp(argv[i], "--resources") == 0) resourceFolder = argv[i + 1];
    else if (std::strcmp(argv[i], "--app-icon") == 0) appIcon = argv[i + 1];
    else if (std::strcmp(argv[i], "--preview") == 0) preview = argv[i + 1];
    else {
      std::fprintf(stderr, "skin-builder: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  if (skinFolder.empty()) {
    std::fprintf(stderr,
                 "usage: kestrel-skin-builder --skin DIR [--layout FILE]... [--resources DIR] "
                 "[--app-icon FILE] [--preview FILE]\n");
    return 2;
  }

  bool ok = true;
  for (const SkinPicture& picture : kSkinPictures) {
    // The one animated picture: a GIF, not a strip.
    if (picture.file.ends_with(".gif")) {
      const std::string path = skinFolder + "/" + std::string(picture.file);
      ok = Report(WriteLoadingGif(path, picture.sliceWidth, kLoadingFrames), path) && ok;
      continue;
    }
    ok = Report(WriteStrip(skinFolder, picture), std::string(picture.file)) && ok;
  }
  ok = Report(WriteIconFile(skinFolder + "/" + std::string(kIconFile)), std::string(kIconFile)) && ok;
  std::vector<std::string> keyboardPictures;
  for (const std::string& layout : layouts) {
    std::string name;
    ok = Report(WriteKeyboardPicture(skinFolder, layout, name), "the keyboard picture of " + layout) && ok;
    if (!name.empty()) keyboardPictures.push_back(name);
  }
  if (!resourceFolder.empty()) {
    ok = Report(WriteScrollBarImages(resourceFolder), "the scroll-bar pictures") && ok;
  }
  if (!appIcon.empty()) ok = Report(WriteAppIcon(appIcon, 256), appIcon) && ok;
  if (!preview.empty()) ok = Report(WritePreview(preview, skinFolder, keyboardPictures), preview) && ok;
  return ok ? 0 : 1;
}
