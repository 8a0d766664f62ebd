#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> RuleLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

class UdevRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kestrel-udev-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
  }
  void TearDown() override { fs::remove_all(m_folder); }

  // Runs the generator; its exit status.
  int Generate(const fs::path& config, const fs::path& output, const fs::path& fallback = {}) {
    std::string command = std::string("'") + KESTREL_UDEV_RULES_TOOL + "' '" + config.string() + "' '" +
                          output.string() + "'";
    if (!fallback.empty()) command += " --fallback '" + fallback.string() + "'";
    command += " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  fs::path WriteConfig(const std::string& modes) {
    const fs::path path = m_folder / "config.xml";
    std::ofstream(path) << "<?xml version=\"1.0\"?>\n<config>\n<device.info>\n"
                           "<keyboard name=\"Kestrel K87\" device_type=\"101\" device_info=\"K87\">\n"
                        << modes << "</keyboard>\n</device.info>\n<software name=\"Kestrel\"/>\n</config>\n";
    return path;
  }

  fs::path m_folder;
  const fs::path m_shipped = fs::path(KESTREL_SOURCE_DIR) / "packaging/udev/70-kestrel.rules";
};

TEST_F(UdevRulesTest, ShippedRuleIsTheGeneratedOne) {
  const fs::path output = m_folder / "70-kestrel.rules";
  ASSERT_EQ(Generate(fs::path(KESTREL_SOURCE_DIR) / "tests/device/fixtures/config.xml", output), 0);
  EXPECT_EQ(ReadText(output), ReadText(m_shipped)) << "regenerate packaging/udev/70-kestrel.rules";
  // The build leaves the rule of data/config.xml (the shipped one while it
  // lists no modes) beside the program for `make install-udev`.
  const fs::path built = m_folder / "built.rules";
  ASSERT_EQ(Generate(fs::path(KESTREL_SOURCE_DIR) / "data/config.xml", built, m_shipped), 0);
  EXPECT_EQ(ReadText(fs::path(KESTREL_RUNTIME_DIR) / "70-kestrel.rules"), ReadText(built));
}

TEST_F(UdevRulesTest, OpensOnlyTheVendorAndStreamInterfacesOfEveryMode) {
  const std::string text = ReadText(m_shipped);
  int grants = 0;
  for (const std::string& line : RuleLines(text)) {
    if (line.find("uaccess") == std::string::npos) continue;
    ++grants;
    EXPECT_NE(line.find("ENV{ID_USB_INTERFACE_NUM}==\"02|03\""), std::string::npos) << line;
    EXPECT_NE(line.find("ATTRS{idVendor}==\"1209\""), std::string::npos) << line;
  }
  EXPECT_EQ(grants, 3);
  for (const char* pid : {"4b01", "4b02", "4b03"}) {
    EXPECT_NE(text.find(std::string("ATTRS{idProduct}==\"") + pid + "\""), std::string::npos) << pid;
  }
  EXPECT_NE(text.find("SUBSYSTEM!=\"hidraw\", GOTO=\"kestrel_end\""), std::string::npos);
}

TEST_F(UdevRulesTest, BadConfigurationsGiveAClearResult) {
  const fs::path output = m_folder / "out.rules";
  struct Case {
    const char* name;
    std::string modes;
    int status;
    std::vector<std::string> grants;  // the idProduct of each rule line that grants access
    const char* interfaces = "02|03";
  } cases[] = {
      {"hex with 0x and lower case", "<mode value=\"0\" vid=\"0x1209\" pid=\"4b01\" hid_interface=\"VID_1209&amp;PID_4B01&amp;MI_02\"/>\n",
       0, {"4b01"}},
      {"vendor interface from the pattern",
       "<mode value=\"0\" vid=\"1209\" pid=\"4B01\" hid_interface=\"VID_1209&amp;PID_4B01&amp;MI_01\"/>\n", 0, {"4b01"},
       "01|03"},
      {"a bad id skips only its mode",
       "<mode value=\"0\" vid=\"12G9\" pid=\"4B01\"/>\n<mode value=\"1\" vid=\"1209\" pid=\"10000\"/>\n"
       "<mode value=\"2\" vid=\"1209\" pid=\"4B03\"/>\n",
       0, {"4b03"}},
      {"line breaks in a description stay in the comment",
       "<mode value=\"0\" desc=\"wired&#10;SUBSYSTEM==&quot;hidraw&quot;, MODE=&quot;0666&quot;\" vid=\"1209\" pid=\"4B01\"/>\n",
       0, {"4b01"}},
      {"no modes", "", 1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(output);
    EXPECT_EQ(Generate(WriteConfig(c.modes), output), c.status);
    if (c.status != 0) {
      EXPECT_FALSE(fs::exists(output));
      continue;
    }
    std::vector<std::string> grants;
    for (const std::string& line : RuleLines(ReadText(output))) {
      EXPECT_EQ(line.find("MODE"), std::string::npos) << line;
      const size_t at = line.find("ATTRS{idProduct}==\"");
      if (line.find("uaccess") == std::string::npos || at == std::string::npos) continue;
      grants.push_back(line.substr(at + 19, 4));
      EXPECT_NE(line.find(std::string("ENV{ID_USB_INTERFACE_NUM}==\"") + c.interfaces + "\""), std::string::npos) << line;
    }
    EXPECT_EQ(grants, c.grants);
  }
}

TEST_F(UdevRulesTest, UnreadableConfigurationFallsBackToTheShippedRule) {
  const fs::path output = m_folder / "out.rules";
  const fs::path broken = m_folder / "broken.xml";
  std::ofstream(broken) << "<config><device.info><keyboard>";
  EXPECT_NE(Generate(broken, output), 0);
  EXPECT_FALSE(fs::exists(output));
  EXPECT_EQ(Generate(broken, output, m_shipped), 0);
  EXPECT_EQ(ReadText(output), ReadText(m_shipped));
  EXPECT_EQ(Generate(m_folder / "missing.xml", output, m_shipped), 0);
  EXPECT_EQ(ReadText(output), ReadText(m_shipped));
}

}  // namespace
