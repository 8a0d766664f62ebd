// The files that ship with the program, read through the program's own
// readers: config.xml, the K87 device description, and the test keyboards
// of the other protocol families.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "model/Configuration.h"
#include "model/DeviceDescription.h"
#include "platform/TextConvert.h"

namespace {

const std::wstring kDataFolder = platform::FromUtf8(KESTREL_SOURCE_DIR "/data/");
const std::wstring kFixtureFolder = platform::FromUtf8(KESTREL_SOURCE_DIR "/tests/model/fixtures/");

TEST(ShippedConfiguration, NamesTheProductAndItsThreeConnections) {
  EXPECT_EQ(ReadSoftwareName(kDataFolder), L"Kestrel");
  const Configuration configuration = ReadConfiguration(kDataFolder);
  ASSERT_EQ(configuration.keyboards.size(), 1u);
  EXPECT_EQ(configuration.keyboards[0].name, L"Kestrel K87");
  EXPECT_EQ(configuration.keyboards[0].device_type, 101);
  EXPECT_EQ(configuration.keyboards[0].layout_name, L"K87");

  const struct {
    int mode;
    int pid;
    const wchar_t* pattern;
  } expected[] = {
      {0, 0x4B01, L"VID_1209&PID_4B01&MI_02"},
      {1, 0x4B02, L"VID_1209&PID_4B02&MI_02"},
      {2, 0x4B03, L"VID_1209&PID_4B03&MI_02"},
  };
  ASSERT_EQ(configuration.connections.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const DeviceInfo& connection = configuration.connections[i];
    EXPECT_EQ(connection.mode, expected[i].mode);
    EXPECT_EQ(connection.vid, 0x1209);
    EXPECT_EQ(connection.pid, expected[i].pid);
    EXPECT_EQ(connection.name, L"") << "a product name would never match the device";
    EXPECT_EQ(connection.interface_pattern, expected[i].pattern);
    EXPECT_EQ(connection.device_type, 101);
  }
  ASSERT_TRUE(configuration.software_found);
  EXPECT_FALSE(configuration.software.version.empty());
  EXPECT_EQ(configuration.software.website_address.rfind(L"https://kestrel.example/", 0), 0u);
  EXPECT_FALSE(configuration.software.store_address.empty());
  EXPECT_FALSE(configuration.software.update_address.empty());
  EXPECT_TRUE(configuration.copyright_found);
  EXPECT_FALSE(configuration.copyright.empty());
}

class ShippedK87 : public ::testing::Test {
 protected:
  void SetUp() override {
    const Configuration configuration = ReadConfiguration(kDataFolder);
    m_load = LoadDeviceDescription(kDataFolder, 101, configuration.keyboards, m_features, m_layout);
    ASSERT_TRUE(m_load.loaded);
  }
  DescriptionLoad m_load;
  DeviceFeatures m_features;
  KeyboardLayout m_layout;
};

TEST_F(ShippedK87, DescribesPagesFirmwareAndLight) {
  EXPECT_EQ(m_features.keyboard_name, L"Kestrel K87");
  EXPECT_EQ(m_features.page_flags, 0x47);
  EXPECT_FALSE(m_features.firmware_version.empty());
  EXPECT_FALSE(m_features.firmware_file.empty());
  EXPECT_EQ(m_features.firmware_address.rfind(L"https://", 0), 0u);
  EXPECT_TRUE(m_features.rgb_keyboard);
  EXPECT_GE(m_features.brightness_max, 1);
  EXPECT_GE(m_features.speed_max, 1);
  EXPECT_LE(m_features.default_brightness, m_features.brightness_max);
  EXPECT_LE(m_features.default_speed, m_features.speed_max);
}

TEST_F(ShippedK87, CatalogueUsesEveryCapabilityBit) {
  ASSERT_GE(m_features.light_modes.size(), 16u);
  int used = 0;
  bool musicAlone = false;
  bool musicCombined = false;
  bool defaultListed = false;
  std::set<int> modes;
  std::set<std::wstring> names;
  for (const LightModeEntry& entry : m_features.light_modes) {
    used |= entry.attribute;
    musicAlone |= entry.attribute == 0x200;
    musicCombined |= (entry.attribute & 0x200) && entry.attribute != 0x200;
    defaultListed |= entry.mode == m_features.default_mode;
    EXPECT_TRUE(modes.insert(entry.mode).second) << "mode " << entry.mode << " twice";
    EXPECT_TRUE(names.insert(entry.name).second) << "text id used twice";
    EXPECT_GT(std::stoi(entry.name), 0);
  }
  for (int bit : {0x001, 0x002, 0x004, 0x008, 0x010, 0x020, 0x040, 0x100, 0x200, 0x400}) {
    EXPECT_TRUE(used & bit) << "capability bit " << bit << " unused";
  }
  EXPECT_TRUE(musicAlone);
  EXPECT_TRUE(musicCombined);
  EXPECT_TRUE(defaultListed) << "the default mode must be in the catalogue";
}

TEST_F(ShippedK87, KeysAreA87KeyTenkeylessBoard) {
  ASSERT_TRUE(m_load.keyboard_found);
  EXPECT_EQ(m_layout.GridRows(), 6);
  EXPECT_EQ(m_layout.GridColumns(), 18);
  EXPECT_NEAR(m_layout.Width(), 1000, 50);
  EXPECT_NEAR(m_layout.Height(), 360, 30);

  const auto& keys = m_layout.Keys();
  ASSERT_EQ(keys.size(), 87u);
  std::set<std::uint32_t> codes;
  std::set<int> keySlots;
  std::set<int> lightSlots;
  for (const KeyItem& key : keys) {
    EXPECT_TRUE(codes.insert(key.code).second) << "code " << key.code << " twice";
    EXPECT_TRUE(keySlots.insert(key.key_index).second) << "key slot " << key.key_index << " twice";
    EXPECT_TRUE(lightSlots.insert(key.light_index).second) << "light slot " << key.light_index << " twice";
    EXPECT_GE(key.key_index, 0);
    EXPECT_LT(key.key_index, 110);
    EXPECT_GE(key.light_index, 0);
    EXPECT_LT(key.light_index, 110);
    EXPECT_EQ(m_layout.KeySlot(key.code), key.key_index);
    EXPECT_EQ(m_layout.LightSlot(key.code), key.light_index);
    EXPECT_FALSE(key.description.empty());
    EXPECT_TRUE(!key.name.empty() || !key.icon.empty() || key.code == 0x2C) << "code " << key.code;
    EXPECT_GT(key.rect.right, key.rect.left);
    EXPECT_GT(key.rect.bottom, key.rect.top);
    EXPECT_GE(key.rect.left, 0);
    EXPECT_GE(key.rect.top, 0);
    EXPECT_LE(key.rect.right, m_layout.Width());
    EXPECT_LE(key.rect.bottom, m_layout.Height());
  }
  EXPECT_TRUE(codes.count(0xAF)) << "Fn";
  EXPECT_FALSE(codes.count(0xE7)) << "Fn stands where the right Windows key would be";
  for (std::uint32_t code : {0x29u, 0x2Cu, 0x28u, 0xE0u, 0xE3u, 0xE5u, 0x46u, 0x4Fu, 0x52u, 0x65u}) {
    EXPECT_TRUE(codes.count(code)) << "code " << code;
  }

  // No two keys overlap in the picture.
  for (std::size_t i = 0; i < keys.size(); ++i) {
    for (std::size_t j = i + 1; j < keys.size(); ++j) {
      const KeyRect& a = keys[i].rect;
      const KeyRect& b = keys[j].rect;
      const bool overlap = a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
      EXPECT_FALSE(overlap) << "keys " << keys[i].code << " and " << keys[j].code;
    }
  }

  // Every key has its own grid cell inside the used part of the grid.
  std::set<std::uint32_t> onGrid;
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 32; ++column) {
      const int cell = m_layout.GridCell(row, column);
      if (cell == 0xFF) continue;
      EXPECT_LT(row, m_layout.GridRows());
      EXPECT_LT(column, m_layout.GridColumns());
      EXPECT_TRUE(onGrid.insert(static_cast<std::uint32_t>(cell)).second) << "code " << cell << " on two cells";
    }
  }
  EXPECT_EQ(onGrid, codes) << "a key on no cell, or two keys on one cell";
}

// The language files are texts by id in section [KB.DIALOG], UTF-16 with a
// byte order mark or UTF-8.
std::set<int> LanguageIds(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::wstring text;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    text = platform::FromUtf16(units);
  } else {
    text = platform::FromUtf8(bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? bytes.substr(3) : bytes);
  }
  std::set<int> ids;
  bool inSection = false;
  std::wistringstream lines(text);
  for (std::wstring line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (!line.empty() && line[0] == L'[') {
      inSection = line.rfind(L"[KB.DIALOG]", 0) == 0;
      continue;
    }
    const std::size_t equals = line.find(L'=');
    if (!inSection || equals == std::wstring::npos || equals == 0) continue;
    const std::wstring key = line.substr(0, equals);
    if (key.find_first_not_of(L"0123456789") != std::wstring::npos || key[0] == L'0') continue;
    if (line.size() > equals + 1) ids.insert(std::stoi(key));
  }
  return ids;
}

TEST_F(ShippedK87, EveryLightModeNameHasATextInEveryLanguage) {
  const std::filesystem::path folder = std::filesystem::path(KESTREL_SOURCE_DIR) / "data" / "language";
  std::vector<std::filesystem::path> files;
  if (std::filesystem::is_directory(folder)) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() == ".lan") files.push_back(entry.path());
    }
  }
  if (files.empty()) GTEST_SKIP() << "no data/language/*.lan in this tree yet; the light-mode texts cannot be checked";
  for (const auto& file : files) {
    const std::set<int> ids = LanguageIds(file);
    for (const LightModeEntry& entry : m_features.light_modes) {
      EXPECT_TRUE(ids.count(std::stoi(entry.name))) << file << " has no text " << platform::ToUtf8(entry.name);
    }
  }
}

TEST(TestKeyboards, DescribeTheFeatureAndSignatureFamilies) {
  const Configuration configuration = ReadConfiguration(kFixtureFolder);
  ASSERT_EQ(configuration.keyboards.size(), 2u);
  ASSERT_EQ(configuration.connections.size(), 2u);
  EXPECT_EQ(configuration.connections[0].device_type, 201);
  EXPECT_EQ(configuration.connections[0].vid, 0x1209);
  EXPECT_EQ(configuration.connections[0].pid, 0x4B11);
  EXPECT_EQ(configuration.connections[1].device_type, 301);
  EXPECT_EQ(configuration.connections[1].pid, 0x4B21);

  DeviceFeatures features;
  KeyboardLayout layout;
  ASSERT_TRUE(LoadDeviceDescription(kFixtureFolder, 201, configuration.keyboards, features, layout).loaded);
  EXPECT_EQ(features.keyboard_name, L"Test Feature Keyboard");
  EXPECT_EQ(features.page_flags, 0x47);
  EXPECT_EQ(features.light_modes.size(), 3u);
  EXPECT_EQ(layout.Keys().size(), 3u);
  EXPECT_EQ(layout.LightSlot(0xAF), 7);

  const DescriptionLoad signature = LoadDeviceDescription(kFixtureFolder, 301, configuration.keyboards, features, layout);
  ASSERT_TRUE(signature.loaded);
  EXPECT_FALSE(signature.menu_found);
  EXPECT_EQ(features.page_flags, 0x47) << "no menu: pages of the previous keyboard";
  EXPECT_EQ(features.firmware_file, L"");
  EXPECT_EQ(features.light_modes.size(), 2u);
  EXPECT_EQ(layout.Keys().size(), 2u);
  EXPECT_FALSE(layout.HasKeySlot(0xAF));
}

}  // namespace
