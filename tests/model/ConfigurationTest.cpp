#include "model/Configuration.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace {

const char kTwoKeyboards[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<config>
  <device.info>
    <keyboard name="First" device_type="101" device_info="K87">
      <mode value="0" desc="Wired" vid="1209" pid="4b01" product_name="" hid_interface="VID_1209&amp;PID_4B01&amp;MI_02"/>
      <mode value="1" desc="Air" vid="0x1209" pid="0X4B02" product_name="Dongle" hid_interface="MI_02"/>
      <mode value="2"/>
    </keyboard>
    <keyboard name="NoModes" device_type="abc" device_info="X"/>
    <keyboard name="Third" device_type="301" device_info="S301">
      <mode value="0" vid="4660" pid="zz" hid_interface="A"/>
      <mode value="0" vid="4660" pid="0x1" hid_interface="B"/>
    </keyboard>
  </device.info>
  <software name="Kestrel" version="1.2.3">
    <website url="https://kestrel.example/"/>
    <store url="https://kestrel.example/store"/>
    <upgrade url="https://kestrel.example/upgrade"/>
    <copyright info="(c) us"/>
  </software>
</config>
)";

TEST(ReadConfiguration, ReadsKeyboardsAndTheirConnectionsInFileOrder) {
  TempFolder folder;
  folder.Write("config.xml", kTwoKeyboards);
  const Configuration configuration = ReadConfiguration(folder.Folder());

  ASSERT_EQ(configuration.keyboards.size(), 3u);
  EXPECT_EQ(configuration.keyboards[0].name, L"First");
  EXPECT_EQ(configuration.keyboards[0].device_type, 101);
  EXPECT_EQ(configuration.keyboards[0].layout_name, L"K87");
  EXPECT_EQ(configuration.keyboards[0].vid, 0);
  EXPECT_EQ(configuration.keyboards[1].device_type, 0) << "a number that does not parse reads as 0";
  EXPECT_EQ(configuration.mode_counts, (std::vector<std::size_t>{3, 0, 2}));

  ASSERT_EQ(configuration.connections.size(), 5u);
  const DeviceInfo& wired = configuration.connections[0];
  EXPECT_EQ(wired.name, L"");
  EXPECT_EQ(wired.device_type, 101);
  EXPECT_EQ(wired.layout_name, L"K87");
  EXPECT_EQ(wired.mode, 0);
  EXPECT_EQ(wired.vid, 0x1209);
  EXPECT_EQ(wired.pid, 0x4B01);
  EXPECT_EQ(wired.mode_description, L"Wired");
  EXPECT_EQ(wired.interface_pattern, L"VID_1209&PID_4B01&MI_02");

  const DeviceInfo& air = configuration.connections[1];
  EXPECT_EQ(air.name, L"Dongle");
  EXPECT_EQ(air.vid, 0x1209);
  EXPECT_EQ(air.pid, 0x4B02);
  EXPECT_EQ(air.mode, 1);

  // A mode without attributes gets none of the previous mode's values.
  const DeviceInfo& bare = configuration.connections[2];
  EXPECT_EQ(bare.mode, 2);
  EXPECT_EQ(bare.vid, 0);
  EXPECT_EQ(bare.pid, 0);
  EXPECT_EQ(bare.name, L"");
  EXPECT_EQ(bare.mode_description, L"");
  EXPECT_EQ(bare.interface_pattern, L"");
  EXPECT_EQ(bare.device_type, 101);

  EXPECT_EQ(configuration.connections[3].vid, 0x4660) << "decimal-looking ids are hexadecimal";
  EXPECT_EQ(configuration.connections[3].pid, 0);
  EXPECT_EQ(configuration.connections[3].interface_pattern, L"A");
  EXPECT_EQ(configuration.connections[4].interface_pattern, L"B");
  EXPECT_EQ(configuration.connections[4].device_type, 301);

  EXPECT_TRUE(configuration.software_found);
  EXPECT_EQ(configuration.software.version, L"1.2.3");
  EXPECT_EQ(configuration.software.website_address, L"https://kestrel.example/");
  EXPECT_EQ(configuration.software.store_address, L"https://kestrel.example/store");
  EXPECT_EQ(configuration.software.update_address, L"https://kestrel.example/upgrade");
  EXPECT_TRUE(configuration.copyright_found);
  EXPECT_EQ(configuration.copyright, L"(c) us");
  EXPECT_EQ(ReadSoftwareName(folder.Folder()), L"Kestrel");
}

TEST(ReadConfiguration, SoftwareBeforeDeviceInfoNamesTheProgramButShowsNothing) {
  TempFolder folder;
  folder.Write("config.xml", R"(<config>
  <software name="Early" version="1.0"><website url="https://kestrel.example/"/></software>
  <device.info><keyboard name="K" device_type="101" device_info="K87"/></device.info>
</config>)");
  EXPECT_EQ(ReadSoftwareName(folder.Folder()), L"Early");
  const Configuration configuration = ReadConfiguration(folder.Folder());
  EXPECT_EQ(configuration.keyboards.size(), 1u);
  EXPECT_FALSE(configuration.software_found);
  EXPECT_EQ(configuration.software.version, L"");
  EXPECT_EQ(configuration.software.website_address, L"");
}

TEST(ReadConfiguration, LinksAreSearchedForwardInsideSoftware) {
  TempFolder folder;
  // `store` after `upgrade` is not found once `upgrade` has been passed.
  folder.Write("config.xml", R"(<config><software name="S" version="2">
  <website url="w"/><upgrade url="u"/><store url="s"/></software></config>)");
  const Configuration configuration = ReadConfiguration(folder.Folder());
  EXPECT_TRUE(configuration.software_found);
  EXPECT_EQ(configuration.software.website_address, L"w");
  EXPECT_EQ(configuration.software.store_address, L"s");
  EXPECT_EQ(configuration.software.update_address, L"");
  EXPECT_FALSE(configuration.copyright_found);
}

TEST(ReadConfiguration, MissingOrBrokenFilesGiveAnEmptyConfiguration) {
  const char* broken[] = {
      nullptr,  // no file at all
      "",
      "<config><device.info><keyboard name=\"K\" device_type=\"101\"></device.info>",
      "<config><software name=\"S\"/></config><second/>",
      "\xff\xfe\x00\x01garbage",
      "<other><software name=\"S\"/></other>",
  };
  for (const char* text : broken) {
    TempFolder folder;
    if (text) folder.Write("config.xml", text);
    const Configuration configuration = ReadConfiguration(folder.Folder());
    EXPECT_TRUE(configuration.keyboards.empty()) << (text ? text : "(none)");
    EXPECT_TRUE(configuration.connections.empty());
    EXPECT_FALSE(configuration.software_found);
    EXPECT_EQ(ReadSoftwareName(folder.Folder()), L"") << (text ? text : "(none)");
  }
}

TEST(JoinPath, PutsOneSlashBetween) {
  EXPECT_EQ(JoinPath(L"/a/", L"b"), L"/a/b");
  EXPECT_EQ(JoinPath(L"/a", L"b"), L"/a/b");
  EXPECT_EQ(JoinPath(L"", L"b"), L"b");
}

}  // namespace
