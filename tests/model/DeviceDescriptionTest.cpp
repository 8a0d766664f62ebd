#include "model/DeviceDescription.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace {

DeviceInfo Keyboard(const wchar_t* name, int deviceType, const wchar_t* layout) {
  DeviceInfo keyboard;
  keyboard.name = name;
  keyboard.device_type = deviceType;
  keyboard.layout_name = layout;
  return keyboard;
}

const char kFull[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<device.info>
  <menu macro="1" light_mode="0"/>
  <function sleep_time="1"/>
  <firmware version="1.0" file="Tool" url="https://kestrel.example/fw.zip"/>
  <light rgb_keyboard="1" default_mode="2" default_brightness="3" default_speed="4" brightness_max="5" speed_max="6">
    <info name="801" mode="1" attribute="81"/>
    <info name="802" mode="2" attribute="x"/>
    <info name="803" mode="7" attribute="512"/>
  </light>
  <Keyboard xpos="10" ypos="20" width="300" height="100" image="k.png" row_count="6" col_count="18">
    <KeyItems>
      <key code="E0" name="Ctrl" desc="Left Ctrl" key_index="3" light_index="9" icon="i.png" row_col="5,0" rect="10#20#30#40"/>
      <key code="0xE0" name="Ctrl2" desc="again" key_index="4" light_index="10" icon="" row_col="2-15" rect="1#1#1#1"/>
      <key code="04" name="A" desc="" key_index="5" light_index="11" row_col="2,15" rect=""/>
      <key name="nocode"/>
    </KeyItems>
  </Keyboard>
</device.info>
)";

TEST(LoadDeviceDescription, ReadsEveryElement) {
  TempFolder folder;
  folder.Write("layouts/K87.xml", kFull);
  DeviceFeatures features;
  KeyboardLayout layout;
  const DescriptionLoad load =
      LoadDeviceDescription(folder.Folder(), 101, {Keyboard(L"Other", 5, L"no"), Keyboard(L"K87 board", 101, L"K87")},
                            features, layout);
  EXPECT_TRUE(load.loaded);
  EXPECT_TRUE(load.menu_found && load.function_found && load.firmware_found && load.light_found);
  EXPECT_TRUE(load.keyboard_found && load.key_items_found);

  EXPECT_EQ(features.current_device_type, 101);
  EXPECT_EQ(features.keyboard_name, L"K87 board");
  EXPECT_EQ(features.page_flags, 0x43);
  EXPECT_TRUE(features.sleep_time);
  EXPECT_EQ(features.firmware_version, L"1.0");
  EXPECT_EQ(features.firmware_file, L"Tool");
  EXPECT_EQ(features.firmware_address, L"https://kestrel.example/fw.zip");
  EXPECT_TRUE(features.rgb_keyboard);
  EXPECT_EQ(features.default_mode, 2);
  EXPECT_EQ(features.default_brightness, 3);
  EXPECT_EQ(features.default_speed, 4);
  EXPECT_EQ(features.brightness_max, 5);
  EXPECT_EQ(features.speed_max, 6);
  EXPECT_EQ(features.light_modes, (std::vector<LightModeEntry>{{L"801", 1, 81}, {L"802", 2, 0}, {L"803", 7, 512}}));

  EXPECT_EQ(layout.X(), 10);
  EXPECT_EQ(layout.Y(), 20);
  EXPECT_EQ(layout.Width(), 300);
  EXPECT_EQ(layout.Height(), 100);
  EXPECT_EQ(layout.Image(), L"k.png");
  EXPECT_EQ(layout.GridRows(), 6);
  EXPECT_EQ(layout.GridColumns(), 18);
  ASSERT_EQ(layout.Keys().size(), 4u);
  const KeyItem& ctrl = layout.Keys()[0];
  EXPECT_EQ(ctrl.code, 0xE0u);
  EXPECT_EQ(ctrl.name, L"Ctrl");
  EXPECT_EQ(ctrl.description, L"Left Ctrl");
  EXPECT_EQ(ctrl.icon, L"i.png");
  EXPECT_EQ(ctrl.rect, (KeyRect{10, 20, 40, 60}));
  // "E0" and "0xE0" are the same code: the later key wins the slots.
  EXPECT_EQ(layout.Keys()[1].code, 0xE0u);
  EXPECT_EQ(layout.KeySlot(0xE0), 4);
  EXPECT_EQ(layout.LightSlot(0xE0), 10) << "light slots come from light_index";
  EXPECT_EQ(layout.GridCell(5, 0), 0xE0);
  // "2-15" and "2,15" name one cell; the later key holds it.
  EXPECT_EQ(layout.GridCell(2, 15), 0x04);
  EXPECT_EQ(layout.Keys()[3].code, 0u);
  EXPECT_EQ(layout.KeySlot(0), 0);
  EXPECT_TRUE(layout.HasKeySlot(0));
}

TEST(LoadDeviceDescription, FirmwareWithoutMenuKeepsThePreviousPagesAndASecondLoadReplacesTheCatalogue) {
  TempFolder folder;
  folder.Write("layouts/A.xml", kFull);
  folder.Write("layouts/B.xml", R"(<device.info>
  <firmware version="2.0" file=""/>
  <light brightness_max="9"><info name="900" mode="1" attribute="1"/></light>
</device.info>)");
  const std::vector<DeviceInfo> keyboards{Keyboard(L"A board", 101, L"A"), Keyboard(L"B board", 201, L"B")};
  DeviceFeatures features;
  KeyboardLayout layout;
  LoadDeviceDescription(folder.Folder(), 101, keyboards, features, layout);
  const DescriptionLoad second = LoadDeviceDescription(folder.Folder(), 201, keyboards, features, layout);
  EXPECT_TRUE(second.loaded);
  EXPECT_FALSE(second.menu_found);
  EXPECT_EQ(features.page_flags, 0x43) << "pages of the previous keyboard";
  EXPECT_TRUE(features.sleep_time) << "no function element: the flag stays";
  EXPECT_EQ(features.keyboard_name, L"B board");
  EXPECT_EQ(features.firmware_version, L"2.0");
  EXPECT_EQ(features.firmware_file, L"");
  EXPECT_EQ(features.firmware_address, L"");
  EXPECT_EQ(features.light_modes, (std::vector<LightModeEntry>{{L"900", 1, 1}}));
  EXPECT_EQ(features.brightness_max, 9);
  EXPECT_EQ(features.speed_max, 0) << "absent numbers of a present light element read as 0";
  EXPECT_FALSE(features.rgb_keyboard);
  // The layout was emptied although B has no Keyboard element.
  EXPECT_FALSE(second.keyboard_found);
  EXPECT_TRUE(layout.Keys().empty());
  EXPECT_EQ(layout.GridCell(5, 0), 0xFF);
  EXPECT_EQ(layout.GridRows(), 0);
}

TEST(LoadDeviceDescription, AFileThatDoesNotLoadKeepsEverythingButTheFirmwareAddress) {
  TempFolder folder;
  folder.Write("layouts/A.xml", kFull);
  folder.Write("layouts/Broken.xml", "<device.info><menu macro=\"0\"/>");
  folder.Write("layouts/Wrong.xml", "<config><menu macro=\"0\"/></config>");
  const std::vector<DeviceInfo> keyboards{Keyboard(L"A", 101, L"A"), Keyboard(L"Broken", 102, L"Broken"),
                                          Keyboard(L"Wrong", 103, L"Wrong"), Keyboard(L"Missing", 104, L"None")};
  for (int deviceType : {102, 103, 104, 999}) {
    DeviceFeatures features;
    KeyboardLayout layout;
    LoadDeviceDescription(folder.Folder(), 101, keyboards, features, layout);
    const DescriptionLoad load = LoadDeviceDescription(folder.Folder(), deviceType, keyboards, features, layout);
    EXPECT_FALSE(load.loaded) << deviceType;
    EXPECT_EQ(features.current_device_type, deviceType);
    EXPECT_EQ(features.firmware_address, L"");
    EXPECT_EQ(features.firmware_version, L"1.0");
    EXPECT_EQ(features.page_flags, 0x43);
    EXPECT_EQ(features.light_modes.size(), 3u);
    EXPECT_EQ(layout.Keys().size(), 4u) << "the previous layout stays";
    EXPECT_EQ(layout.GridCell(5, 0), 0xE0);
  }
  DeviceFeatures features;
  KeyboardLayout layout;
  LoadDeviceDescription(folder.Folder(), 999, keyboards, features, layout);
  EXPECT_EQ(features.keyboard_name, L"") << "no keyboard of that type";
}

TEST(ReadDeviceDescriptionText, MenuFlagsAndGridRules) {
  const struct {
    const wchar_t* menu;
    int flags;
  } menus[] = {
      {L"<menu/>", 0x41},
      {L"<menu macro=\"1\" light_mode=\"1\"/>", 0x47},
      {L"<menu macro=\"0\" light_mode=\"1\"/>", 0x45},
      {L"<menu macro=\"yes\" light_mode=\"2\"/>", 0x41},
  };
  for (const auto& m : menus) {
    DeviceFeatures features;
    KeyboardLayout layout;
    ReadDeviceDescriptionText(std::wstring(L"<device.info>") + m.menu + L"</device.info>", features, layout);
    EXPECT_EQ(features.page_flags, m.flags) << m.menu;
  }

  // row_count 0 turns grid lighting off although keys carry cells.
  DeviceFeatures features;
  KeyboardLayout layout;
  ReadDeviceDescriptionText(LR"(<device.info><Keyboard row_count="0" col_count="40"><KeyItems>
      <key code="04" row_col="0,3" key_index="200" light_index="149"/></KeyItems></Keyboard></device.info>)",
                            features, layout);
  EXPECT_EQ(layout.GridRows(), 0);
  EXPECT_EQ(layout.GridColumns(), 32);
  EXPECT_EQ(layout.GridCell(0, 3), 0x04);
  EXPECT_FALSE(layout.HasKeySlot(0x04)) << "slot 200 lies outside the assignment buffer";
  EXPECT_EQ(layout.LightSlot(0x04), 149);
}

TEST(ReadDeviceDescriptionText, AnElementBeforeAnEarlierOneIsPassedOver) {
  DeviceFeatures features;
  features.speed_max = 8;
  KeyboardLayout layout;
  const DescriptionLoad load = ReadDeviceDescriptionText(
      LR"(<device.info><light speed_max="3"/><menu macro="1"/><Keyboard width="5"/></device.info>)", features, layout);
  EXPECT_TRUE(load.menu_found);
  EXPECT_EQ(features.page_flags, 0x43);
  EXPECT_FALSE(load.light_found) << "light is looked for after menu";
  EXPECT_EQ(features.speed_max, 8);
  EXPECT_TRUE(load.keyboard_found);
  EXPECT_FALSE(load.key_items_found);
  EXPECT_EQ(layout.Width(), 5);
}

}  // namespace
