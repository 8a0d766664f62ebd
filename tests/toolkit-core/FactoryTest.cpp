// The control factory, the image registry and the toolkit font.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/TextConvert.h"

#include "CoreTestSupport.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/ControlFactory.h"
#include "toolkit/core/FontRegistry.h"
#include "toolkit/core/MImageList.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/SkinFolder.h"

namespace {

class Factory : public DisplayTest {};

TEST(FactoryTable, NamesMatchExactlyAndEachHostAcceptsItsColumn) {
  struct Case {
    const wchar_t* name;
    bool found;
    bool topLevel;
    bool panel;
  };
  const Case cases[] = {
      {L"CArea", true, true, true},         {L"DListBox", true, false, true},
      {L"KeyFuncControl", true, false, true}, {L"CComboBoxList", true, true, false},
      {L"BatteryCtrl", true, true, false},  {L"MText", true, true, true},
      {L"carea", false, false, false},      {L"Dlistbox", false, false, false},
      {L"CArea ", false, false, false},     {L"", false, false, false},
      {L"MPanel", false, false, false},     {L"CScrollVertical", false, false, false},
  };
  for (const Case& c : cases) {
    const ControlFactory::ClassInfo* row = ControlFactory::Find(c.name);
    ASSERT_EQ(row != nullptr, c.found) << platform::ToUtf8(c.name);
    if (!row) continue;
    EXPECT_EQ(row->atTopLevel, c.topLevel) << platform::ToUtf8(c.name);
    EXPECT_EQ(row->inPanel, c.panel) << platform::ToUtf8(c.name);
  }
  size_t count = 0;
  const ControlFactory::ClassInfo* table = ControlFactory::Table(count);
  EXPECT_EQ(count, 42u);
  EXPECT_EQ(std::wstring(table[0].name), L"CArea");
  EXPECT_EQ(ControlFactory::Find(nullptr), nullptr);
}

TEST_F(Factory, DialogAndPanelCreateByName) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  MControl* area = dialog.CreateArea(L"CArea", 7, CRect(0, 0, 50, 50), L"", 1, 1);
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->GetManager(), &dialog.GetPaintManager());
  EXPECT_EQ(area->GetParantObject(), static_cast<MObject*>(&dialog));
  EXPECT_EQ(dialog.GetPaintManager().GetAreaControls().size(), 1u);
  EXPECT_EQ(dialog.CreateControl(L"carea", 8, CRect(0, 0, 5, 5), L"", 1, 1), nullptr);
  EXPECT_EQ(dialog.CreateControl(L"DListBox", 9, CRect(0, 0, 5, 5), L"", 1, 1), nullptr);
  EXPECT_EQ(dialog.CreateControl(L"", 9, CRect(0, 0, 5, 5), L"", 1, 1), nullptr);

  auto* panel = new MPanel(&dialog, 20, CRect(0, 0, 200, 200), 1);
  panel->SetManager(&dialog.GetPaintManager());
  panel->InitControl(&dialog.GetPaintManager());
  dialog.GetPaintManager().AddControl(panel, 1);
  MControl* inner = panel->CreateControl(L"CArea", 21, CRect(10, 10, 20, 20), L"", 1, 0);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->IsEnabled(), 0);
  EXPECT_EQ(inner->GetManager(), &dialog.GetPaintManager());
  EXPECT_EQ(dialog.GetControl(21), inner);
  EXPECT_EQ(panel->CreateControl(L"CComboBoxList", 22, CRect(0, 0, 5, 5), L"", 1, 1), nullptr);
  // Kind 2 leaves the control to the caller.
  MControl* loose = panel->CreateControl(2, panel, L"CArea", 23, CRect(0, 0, 5, 5), L"", 1, 1);
  ASSERT_NE(loose, nullptr);
  EXPECT_EQ(dialog.GetControl(23), nullptr);
  delete loose;
  dialog.DestroyWindow();
}

TEST_F(Factory, ImageRecordsAreSharedAndTheFirstRequestFixesTheStates) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  PaintManager& pm = dialog.GetPaintManager();
  TestControl* a = dialog.Add(1, CRect(0, 0, 48, 38));
  TestControl* b = dialog.Add(2, CRect(50, 0, 98, 38));
  ASSERT_EQ(a->SetImage(L"btn_apply.png", 4), 1) << "skin folder " << platform::ToUtf8(SkinFolder::SkinDirectory());
  ASSERT_EQ(b->SetImage(L"btn_apply.png", 3), 1);
  EXPECT_EQ(a->GetImage(), b->GetImage());
  EXPECT_EQ(a->GetImageSize().cx, a->GetImage()->GetWidth() / 4);
  EXPECT_EQ(b->GetImageSize().cx, a->GetImage()->GetWidth() / 4);
  EXPECT_EQ(b->GetImageCount(), 3);

  // Sub-folders with backslashes and doubled slashes name the same file.
  for (const wchar_t* name : {L"icon/mode_usb.png", L"icon\\mode_usb.png", L"icon//mode_usb.png"}) {
    EXPECT_NE(pm.AddImgResInfo(name, 1), nullptr) << platform::ToUtf8(name);
  }
  // A missing picture fails and keeps the control's old one.
  const Image* before = a->GetImage();
  EXPECT_EQ(a->SetImage(L"no_such_picture.png", 4), 0);
  EXPECT_EQ(a->GetImage(), before);

  TestControl orphan(nullptr, 3, CRect(0, 0, 10, 10));
  EXPECT_EQ(orphan.SetImage(L"btn_apply.png", 4), 0);
  EXPECT_EQ(orphan.SetImage(101, L"PNG", 1), 0);
}

// PNG bytes of a plain picture of the given size.
std::vector<uint8_t> PngOf(int w, int h) {
  Canvas canvas(w, h);
  canvas.Clear(0xFF336699);
  const std::string path = testing::TempDir() + "core-slice-" + std::to_string(w) + ".png";
  EXPECT_TRUE(canvas.SavePng(path));
  FILE* f = std::fopen(path.c_str(), "rb");
  std::vector<uint8_t> bytes;
  if (!f) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  std::remove(path.c_str());
  return bytes;
}

TEST_F(Factory, SliceWidthIsTheWidthDividedByTheStates) {
  static const std::vector<uint8_t> png = PngOf(88, 10);
  static const ResourceEntry entries[] = {{500, L"PNG", png.data(), png.size()},
                                          {501, L"PNG", png.data(), png.size()}};
  static const ResourceModule application(entries, 2);
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  dialog.GetPaintManager().SetApplicationModule(&application);
  TestControl* four = dialog.Add(1, CRect(0, 0, 22, 10));
  TestControl* three = dialog.Add(2, CRect(0, 0, 22, 10));
  ASSERT_EQ(four->SetImage(500, L"PNG", 4), 1);
  ASSERT_EQ(three->SetImage(501, L"PNG", 3), 1);
  EXPECT_EQ(four->GetImageSize(), CSize(22, 10));
  EXPECT_EQ(three->GetImageSize(), CSize(29, 10));
  // The toolkit's own pictures live in their own map under the same ids.
  ImgResInfo* bar = dialog.GetPaintManager().AddImgResInfo(102, L"PNG", 1, 0);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->sliceWidth, 28);
  EXPECT_EQ(bar->height, 239);
  EXPECT_EQ(dialog.GetPaintManager().AddImgResInfo(102, L"PNG", 1, 1), nullptr);
}

TEST_F(Factory, TextIsDrawnEvenWhenTheToolkitFontIsMissing) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  PaintManager& pm = dialog.GetPaintManager();
  EXPECT_EQ(pm.FindTempFont(L"No Such Family 12345"), std::wstring(FontRegistry::kEmbeddedFontFamily));
  TestControl* control = dialog.Add(1, CRect(0, 0, 100, 30));
  const TextFont font = control->GetDrawFont();
  EXPECT_FALSE(font.family.empty());
  Canvas canvas(100, 30);
  canvas.DrawText(L"Kestrel", CRect(0, 0, 100, 30), font, control->GetDrawFormat(), 0xFFFFFFFF);
  int lit = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 100; ++x) lit += (canvas.GetPixel(x, y) >> 24) > 128;
  }
  EXPECT_GT(lit, 20);
}

TEST_F(Factory, ARegisteredFontFileBecomesTheToolkitFont) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  PaintManager& pm = dialog.GetPaintManager();
  // The font folder's file, when the build placed it there, is the
  // toolkit font under its own name; without it the embedded font stands in.
  const bool shipped = std::filesystem::exists(
      platform::ToUtf8(SkinFolder::FontDirectory() + L"SourceHanSansCN-Regular.otf"));
  EXPECT_EQ(pm.FindTempFont(L"SourceHanSansCN-Regular"),
            shipped ? std::wstring(L"SourceHanSansCN-Regular") : std::wstring(FontRegistry::kEmbeddedFontFamily));
  EXPECT_EQ(FontRegistry::IsRegistered(L"SourceHanSansCN-Regular"), shipped);
  EXPECT_FALSE(pm.AddTempFont(L"Core Test Missing", L"/nonexistent/font.otf"));
  ASSERT_TRUE(pm.AddTempFont(L"Core Test Family", L"/usr/share/fonts/truetype/open-sans/OpenSans-Bold.ttf"));
  EXPECT_EQ(pm.FindTempFont(L"Core Test Family"), L"Core Test Family");
  const std::wstring saved = Manager::GetFontName();
  Manager::SetFontName(L"Core Test Family");
  TestControl* control = dialog.Add(1, CRect(0, 0, 10, 10));
  EXPECT_EQ(control->GetFontFamily(L"Anything Else"), L"Core Test Family");
  Manager::SetFontName(L"Core Test Nowhere");
  TestControl* fallback = dialog.Add(2, CRect(0, 0, 10, 10));
  EXPECT_EQ(fallback->GetFontFamily(), std::wstring(FontRegistry::kEmbeddedFontFamily));
  Manager::SetFontName(saved);
}

}  // namespace

namespace {

TEST(ImageList, EntriesBySliceAndId) {
  MImageList list;
  EXPECT_TRUE(list.AddImage(L"btn_apply.png", 4, 10));
  EXPECT_FALSE(list.AddImage(L"no_such_picture.png", 1, 11));
  EXPECT_TRUE(list.InsertImage(0, L"icon\\mode_usb.png", 1, 12));
  ASSERT_EQ(list.GetImageCount(), 2);
  EXPECT_EQ(list.GetImagePath(0), L"icon\\mode_usb.png");
  EXPECT_EQ(list.GetImagePathByID(10), L"btn_apply.png");
  const _M_IAMGELIST* apply = list.GetImageDataByID(10);
  ASSERT_NE(apply, nullptr);
  EXPECT_EQ(apply->sliceWidth, apply->image->GetWidth() / 4);
  EXPECT_EQ(list.GetItemImageData(5), nullptr);

  // Slice 1 drawn at a set size, centred: only the middle of the cell is painted.
  list.SetDrawImgSize(10, 10);
  Canvas canvas(30, 30);
  list.DrawItemIcon(canvas, CRect(0, 0, 30, 30), 1, 1);
  EXPECT_NE(canvas.GetPixel(15, 15) >> 24, 0u);
  EXPECT_EQ(canvas.GetPixel(2, 2), 0u);
  list.DelAllImages();
  EXPECT_EQ(list.GetImageCount(), 0);
}

}  // namespace
