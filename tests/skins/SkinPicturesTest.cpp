#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "BuiltFiles.h"
#include "model/DeviceDescription.h"
#include "platform/TextConvert.h"
#include "tools/skin-builder/SkinCatalog.h"

namespace {

using namespace skintest;

int Red(uint32_t p) { return (p >> 16) & 0xFF; }
int Green(uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(uint32_t p) { return p & 0xFF; }
int Alpha(uint32_t p) { return (p >> 24) & 0xFF; }

TEST(SkinPictures, EveryCataloguePictureIsBuiltAsItsStateStrip) {
  for (const SkinPicture& entry : kSkinPictures) {
    const auto file = SkinDir() / std::string(entry.file);
    SCOPED_TRACE(entry.file);
    if (entry.file.ends_with(".gif")) {
      const Animation gif = ReadGif(file);
      ASSERT_TRUE(gif.ok);
      EXPECT_EQ(gif.width, entry.sliceWidth * entry.states);
      EXPECT_EQ(gif.height, entry.height);
      continue;
    }
    const Picture png = ReadPng(file);
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.width, entry.sliceWidth * entry.states);
    EXPECT_EQ(png.width % entry.states, 0);
    EXPECT_EQ(png.height, entry.height);
    // Every slice must show something: a transparent state would make the
    // control vanish when it enters that state.
    for (int s = 0; s < entry.states; ++s) {
      int visible = 0;
      for (int y = 0; y < png.height; ++y) {
        for (int x = s * entry.sliceWidth; x < (s + 1) * entry.sliceWidth; ++x) {
          visible += Alpha(png.At(x, y)) > 32;
        }
      }
      EXPECT_GT(visible, 0) << "state " << s << " is empty";
    }
  }
}

// The names the program's code asks for.  Pages name their pictures with
// "....png" literals, many with the state count right after
// (SetImage(L"btn_apply.png", 4)); each must be in the catalogue, with the
// same count when one is given.
TEST(SkinPictures, EveryPictureTheCodeNamesIsInTheCatalogue) {
  const std::regex literal(R"(L?\"([^\"]+\.(?:png|gif))\"(\s*,\s*(\d+))?)");
  int found = 0;
  // The builder's own painters and key-icon table count too: a picture they
  // draw that the catalogue lacks would never be written.
  for (const auto& file : SourceFiles({"app", "toolkit", "platform/linux/ui", "lighting", "macros",
                                       "tools/skin-builder"},
                                      {".cpp", ".h"})) {
    if (file.filename() == "SkinCatalog.h") continue;
    const std::string text = ReadText(file);
    for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) {
      const std::string name = (*it)[1];
      const SkinPicture* entry = FindSkinPicture(name);
      ++found;
      ASSERT_NE(entry, nullptr) << name << " named in " << file << " is not in SkinCatalog.h";
      if ((*it)[3].matched) {
        EXPECT_EQ(std::stoi((*it)[3]), entry->states) << name << " in " << file;
      }
      EXPECT_TRUE(std::filesystem::exists(SkinDir() / NormalSkinName(name))) << name;
    }
  }
  EXPECT_GT(found, 0) << "the scan found no picture names at all";
}

TEST(SkinPictures, CatalogueNamesAreUniqueAndNormal) {
  std::set<std::string_view> names;
  for (const SkinPicture& entry : kSkinPictures) {
    EXPECT_TRUE(names.insert(entry.file).second) << entry.file;
    EXPECT_EQ(NormalSkinName(entry.file), entry.file);
    EXPECT_GT(entry.states, 0);
  }
  // The spellings the pages use reach the same entry.
  EXPECT_EQ(FindSkinPicture("icon//icon_circle.png"), FindSkinPicture("icon/icon_circle.png"));
  EXPECT_EQ(FindSkinPicture("icon\\tab_home.png"), FindSkinPicture("icon/tab_home.png"));
  EXPECT_EQ(FindSkinPicture("nowhere.png"), nullptr);
}

// The keyboard picture of each shipped layout: as large as the layout says,
// with a key cap under every key rectangle, and every key icon present.
TEST(SkinPictures, KeyboardPictureCoversEveryKeyOfEachShippedLayout) {
  const auto layouts = SourceFiles({"data/layouts"}, {".xml"});
  ASSERT_FALSE(layouts.empty());
  for (const auto& path : layouts) {
    SCOPED_TRACE(path.string());
    DeviceFeatures features;
    KeyboardLayout layout;
    const DescriptionLoad load =
        ReadDeviceDescriptionText(platform::FromUtf8(ReadText(path)), features, layout);
    ASSERT_TRUE(load.keyboard_found);
    const Picture picture =
        ReadPng(SkinDir() / std::string(kKeyboardFolder) / platform::ToUtf8(layout.Image()));
    ASSERT_TRUE(picture.ok);
    EXPECT_EQ(picture.width, layout.Width());
    EXPECT_EQ(picture.height, layout.Height());
    ASSERT_FALSE(layout.Keys().empty());
    // The plate between the keys is almost black; a cap's face is lighter
    // at the left edge of its top face, where no label reaches.
    for (const KeyItem& key : layout.Keys()) {
      const int x = key.rect.left + 6, y = (key.rect.top + key.rect.bottom) / 2;
      ASSERT_TRUE(x < picture.width && y < picture.height);
      const uint32_t face = picture.At(x, y);
      const uint32_t gap = picture.At(key.rect.left - 1, y);
      EXPECT_EQ(Alpha(face), 255);
      EXPECT_GT(Red(face) + Green(face) + Blue(face), Red(gap) + Green(gap) + Blue(gap) + 30)
          << platform::ToUtf8(key.name);
      if (!key.icon.empty()) {
        const Picture icon = ReadPng(SkinDir() / NormalSkinName(platform::ToUtf8(key.icon)));
        EXPECT_TRUE(icon.ok) << platform::ToUtf8(key.icon);
        EXPECT_NE(FindSkinPicture(platform::ToUtf8(key.icon)), nullptr) << platform::ToUtf8(key.icon);
      }
    }
  }
}

TEST(SkinPictures, LoadingAnimationIsASpinnerOfAtLeastEightFrames) {
  const Animation gif = ReadGif(SkinDir() / "loading.gif");
  ASSERT_TRUE(gif.ok);
  EXPECT_EQ(gif.width, 100);
  EXPECT_EQ(gif.height, 100);
  EXPECT_GE(gif.frames, 8);
  EXPECT_EQ(gif.frames, kLoadingFrames);
}

TEST(SkinPictures, CirclePaletteIsAColourWheel) {
  const Picture wheel = ReadPng(SkinDir() / "img_circlepalette.png");
  ASSERT_TRUE(wheel.ok);
  const double cx = wheel.width / 2.0, cy = wheel.height / 2.0, r = wheel.width / 2.0 - 2;
  auto at = [&](double angleDegrees, double fraction) {
    const double a = angleDegrees * M_PI / 180;
    return wheel.At(static_cast<int>(cx + std::cos(a) * r * fraction),
                    static_cast<int>(cy - std::sin(a) * r * fraction));
  };
  // White in the middle, growing saturation outwards.
  const uint32_t centre = wheel.At(wheel.width / 2, wheel.height / 2);
  EXPECT_GT(std::min({Red(centre), Green(centre), Blue(centre)}), 235);
  // Hue runs around: red, green and blue a third of a turn apart.
  const struct {
    double angle;
    int (*channel)(uint32_t);
  } primaries[] = {{0, Red}, {120, Green}, {240, Blue}};
  for (const auto& p : primaries) {
    const uint32_t rim = at(p.angle, 0.92);
    const uint32_t inner = at(p.angle, 0.3);
    const int strongest = std::max({Red(rim), Green(rim), Blue(rim)});
    EXPECT_EQ(p.channel(rim), strongest) << p.angle;
    EXPECT_LT(std::min({Red(rim), Green(rim), Blue(rim)}), 60) << "rim is saturated at " << p.angle;
    EXPECT_GT(std::min({Red(inner), Green(inner), Blue(inner)}), 120) << "inside is paler at " << p.angle;
  }
  // Outside the wheel the picture is transparent.
  EXPECT_EQ(Alpha(wheel.At(1, 1)), 0);
  EXPECT_EQ(Alpha(wheel.At(wheel.width - 2, wheel.height - 2)), 0);
}

uint32_t Le32(const std::vector<unsigned char>& b, std::size_t o) {
  return b[o] | (b[o + 1] << 8) | (b[o + 2] << 16) | (uint32_t{b[o + 3]} << 24);
}

TEST(SkinPictures, IconFileHoldsAPngEntryForEachSize) {
  const auto bytes = ReadBytes(SkinDir() / std::string(kIconFile));
  ASSERT_GE(bytes.size(), 6u);
  EXPECT_EQ(bytes[0] | (bytes[1] << 8), 0);  // reserved
  EXPECT_EQ(bytes[2] | (bytes[3] << 8), 1);  // icon, not cursor
  const std::size_t count = bytes[4] | (bytes[5] << 8);
  ASSERT_EQ(count, kIconSizes.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t e = 6 + i * 16;
    ASSERT_LE(e + 16, bytes.size());
    const int declared = bytes[e] == 0 ? 256 : bytes[e];
    const uint32_t size = Le32(bytes, e + 8), offset = Le32(bytes, e + 12);
    ASSERT_LE(std::size_t{offset} + size, bytes.size());
    const Picture picture =
        DecodePng(std::vector<unsigned char>(bytes.begin() + offset, bytes.begin() + offset + size));
    ASSERT_TRUE(picture.ok) << "entry " << i;
    EXPECT_EQ(picture.width, declared);
    EXPECT_EQ(picture.height, declared);
    EXPECT_EQ(picture.width, kIconSizes[i]);
  }
}

// The toolkit embeds its scroll-bar pictures and the desktop entry uses the
// icon from the source tree; both copies must be what the builder draws now.
TEST(SkinPictures, CommittedCopiesMatchTheBuilder) {
  const struct {
    std::filesystem::path committed, generated;
    int width, height;
  } copies[] = {
      {SourceDir() / "toolkit/resources/101.png",
       std::filesystem::path(KESTREL_GENERATED_RESOURCES) / "101.png", 22, 20},
      {SourceDir() / "toolkit/resources/102.png",
       std::filesystem::path(KESTREL_GENERATED_RESOURCES) / "102.png", 28, 239},
      {SourceDir() / "packaging/icons/kestrel-256.png", KESTREL_GENERATED_APP_ICON, 256, 256},
  };
  for (const auto& c : copies) {
    const auto committed = ReadBytes(c.committed);
    EXPECT_FALSE(committed.empty()) << c.committed;
    EXPECT_EQ(committed, ReadBytes(c.generated)) << c.committed << " is stale: copy " << c.generated;
    const Picture picture = DecodePng(committed);
    ASSERT_TRUE(picture.ok) << c.committed;
    EXPECT_EQ(picture.width, c.width);
    EXPECT_EQ(picture.height, c.height);
  }
}

}  // namespace
