// taviui-gallery: shows every drawing helper in one window.
//   taviui-gallery                    opens the window until it is closed
//   taviui-gallery --screenshot FILE  writes what the window shows as PNG and exits
//   taviui-gallery --dialog [...]     the same for the toolkit dialog built through the factory
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/UiLoop.h"
#include "platform/Window.h"
#include "tools/taviui-gallery/GalleryDialog.h"
#include "tools/taviui-gallery/GalleryPage.h"

namespace {

class GalleryWindow : public platform::WindowHandler {
 public:
  explicit GalleryWindow(std::string screenshot) : m_screenshot(std::move(screenshot)) {}

  intptr_t OnWindowMessage(platform::Window& window, const platform::Message& m) override {
    switch (m.message) {
      case platform::WM_PAINT: {
        if (!m_page.IsValid()) {
          m_page = Canvas(gallery::kWidth, gallery::kHeight);
          gallery::DrawPage(m_page);
        }
        window.Present(m_page.Bits(), m_page.Stride(), m_page.Width(), m_page.Height(), window.GetUpdateRect());
        if (!m_screenshot.empty()) {
          m_exitCode = SaveScreenshot(window) ? 0 : 1;
          window.PostMessage(platform::WM_CLOSE, 0, 0);
        }
        return 0;
      }
      case platform::WM_NCDESTROY:
        platform::PostQuitMessage(m_exitCode);
        return 0;
      default:
        return window.DefaultProc(m);
    }
  }

 private:
  // What the server shows, read back from the window, not the page we drew.
  bool SaveScreenshot(platform::Window& window) {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    if (!window.CaptureContents(pixels, w, h)) return false;
    Canvas shot(w, h);
    if (!shot.IsValid()) return false;
    uint8_t* bits = shot.Bits();
    for (int y = 0; y < h; ++y) {
      std::memcpy(bits + static_cast<size_t>(y) * shot.Stride(), &pixels[static_cast<size_t>(y) * w],
                  static_cast<size_t>(w) * 4);
    }
    shot.MarkDirty();
    return shot.SavePng(m_screenshot);
  }

  std::string m_screenshot;
  Canvas m_page;
  int m_exitCode = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::string screenshot;
  bool dialog = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      screenshot = argv[++i];
    } else if (std::strcmp(argv[i], "--dialog") == 0) {
      dialog = true;
    } else {
      std::fprintf(stderr, "usage: %s [--dialog] [--screenshot FILE]\n", argv[0]);
      return 2;
    }
  }
  if (!platform::OpenDisplay()) {
    std::fprintf(stderr, "taviui-gallery: cannot open the X display (is DISPLAY set?)\n");
    return 1;
  }
  if (dialog) return gallery::RunDialog(screenshot);
  GalleryWindow handler(screenshot);
  platform::Window window(&handler);
  platform::WindowCreateParams params;
  params.title = L"TaviUI gallery";
  params.style = platform::WS_POPUP | platform::WS_VISIBLE;
  params.rect = {0, 0, gallery::kWidth, gallery::kHeight};
  if (!window.Create(params)) {
    std::fprintf(stderr, "taviui-gallery: the window could not be created\n");
    return 1;
  }
  window.CenterWindow(nullptr);
  return platform::RunMessageLoop();
}
