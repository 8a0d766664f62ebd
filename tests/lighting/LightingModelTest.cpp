#include "lighting/LightingModel.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "../protocol/ProtocolFixture.h"
#include "device/DeviceTask.h"
#include "lighting/LightCapability.h"
#include "lighting/LightingHost.h"

namespace {

class RecordingHost final : public LightingHost {
 public:
  void QueueTask(int task) override { queued.push_back(task); }
  bool IsTaskQueueEmpty() const override { return queueEmpty; }
  void ShowWaitDialog() override { ++waitDialogs; }
  std::vector<KeyColour> PictureColours() const override { return picture; }
  void SetPictureColours(const std::vector<KeyColour>& colours) override { picture = colours; }

  std::vector<int> queued;
  bool queueEmpty = true;
  int waitDialogs = 0;
  std::vector<KeyColour> picture;
};

constexpr int kWriteLighting = 7;
constexpr int kWriteKeyLights = 8;

class LightingModelTest : public ProtocolTest {
 protected:
  void SetUp() override {
    ProtocolTest::SetUp();
    m_features.default_mode = 2;
    m_features.default_brightness = 4;
    m_features.default_speed = 3;
    m_features.light_modes = {{L"301", 1, 0x001},
                              {L"302", 2, 0x027},
                              {L"303", 3, LightCapability::PerKeyColours | 0x001},
                              {L"304", 4, LightCapability::Music},
                              {L"305", 5, LightCapability::Music | 0x001},
                              {L"306", 6, LightCapability::Screen}};
  }

  DeviceFeatures m_features;
  RecordingHost m_host;
  LightingModel m_model{m_store, m_protocol.State(), m_host};
};

TEST_F(LightingModelTest, NewStoreGetsOneRowPerModeWithDefaults) {
  EXPECT_TRUE(m_model.EnsureLightRows(m_features, 101));
  std::vector<LightSetting> rows;
  ASSERT_EQ(m_store.DbListLights(1, rows), 6);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].mode, m_features.light_modes[i].mode);
    EXPECT_EQ(rows[i].name, m_features.light_modes[i].name);
    EXPECT_EQ(rows[i].config_func, m_features.light_modes[i].attribute);
    EXPECT_EQ(rows[i].brightness, 4);
    EXPECT_EQ(rows[i].speed, 3);
    EXPECT_EQ(rows[i].colorful, 1);
    EXPECT_EQ(rows[i].colorindex, 0);
    EXPECT_EQ(rows[i].color_value, 255);
    EXPECT_EQ(rows[i].direction, 0);
    EXPECT_EQ(rows[i].status, rows[i].mode == 2 ? 1 : 0);
  }
  EXPECT_EQ(m_model.CurrentMode(), 2);
  EXPECT_EQ(m_model.CurrentCapabilities(), 0x027);
  EXPECT_TRUE(m_host.queued.empty()) << "making the default current sends nothing";

  // A second load keeps the rows and finds the current mode again.
  LightingModel again(m_store, m_protocol.State(), m_host);
  EXPECT_FALSE(again.EnsureLightRows(m_features, 101));
  EXPECT_EQ(again.CurrentMode(), 2);
  EXPECT_EQ(m_store.DbCountLights(1), 6);
}

TEST_F(LightingModelTest, FeatureFamilyStartsWithDirectionTwo) {
  m_model.EnsureLightRows(m_features, 201);
  LightSetting light;
  ASSERT_TRUE(m_store.DbGetLight(1, 1, light));
  EXPECT_EQ(light.direction, 2);
}

TEST_F(LightingModelTest, ModeSelectionQueuesOrStreams) {
  m_model.EnsureLightRows(m_features, 101);
  struct Case {
    int mode;
    bool queues;
    bool streams;
  };
  const Case cases[] = {{1, true, false}, {3, true, false}, {4, false, true}, {6, false, true}, {2, true, false}};
  for (const auto& c : cases) {
    m_host.queued.clear();
    m_protocol.State().LightModeSent = true;
    m_protocol.State().StreamStartPending = false;
    m_model.SelectLightMode(c.mode);
    EXPECT_EQ(m_store.DbGetCurrentLightMode(1), c.mode);
    EXPECT_EQ(m_host.queued == std::vector<int>{kWriteLighting}, c.queues) << "mode " << c.mode;
    EXPECT_EQ(m_protocol.State().StreamStartPending, c.streams) << "mode " << c.mode;
    EXPECT_EQ(m_protocol.State().LightModeSent, !c.queues) << "mode " << c.mode;
  }
}

TEST_F(LightingModelTest, ModeThenBrightnessSendsOne88ThenOne89) {
  m_model.EnsureLightRows(m_features, 101);
  ProtocolInputs in = Inputs();
  m_model.SelectLightMode(1);
  in.lightMode = m_model.CurrentMode();
  m_protocol.WriteLighting(in, m_layout);
  ASSERT_TRUE(m_model.UpdateLightParameter(LightParameter::Brightness, 1));
  m_protocol.WriteLighting(in, m_layout);
  const auto reports = m_link.Transfers(Transfer::Report);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].bytes[1], 0x88);
  EXPECT_EQ(reports[0].bytes[3], 1);
  EXPECT_EQ(reports[1].bytes[1], 0x89);
  EXPECT_EQ(reports[1].bytes[7], 1);
}

TEST_F(LightingModelTest, SlidersQueueOnlyOnAnEmptyQueueTheSwitchAlways) {
  m_model.EnsureLightRows(m_features, 101);
  m_host.queueEmpty = false;
  EXPECT_TRUE(m_model.UpdateLightParameter(LightParameter::Brightness, 2));
  EXPECT_TRUE(m_model.UpdateLightParameter(LightParameter::Speed, 1));
  EXPECT_TRUE(m_host.queued.empty());
  EXPECT_TRUE(m_model.UpdateLightParameter(LightParameter::Colourful, 0));
  EXPECT_EQ(m_host.queued, std::vector<int>{kWriteLighting});
  LightSetting light;
  ASSERT_TRUE(m_store.DbGetLight(1, 2, light));
  EXPECT_EQ(light.brightness, 2) << "the waiting task reads the last stored value";
  EXPECT_EQ(light.speed, 1);
  EXPECT_EQ(light.colorful, 0);
  EXPECT_EQ(light.color_value, 255);
}

TEST_F(LightingModelTest, ColourChoiceEndsMulticolourAndPerKeyModesOnlyStoreIt) {
  m_model.EnsureLightRows(m_features, 101);
  EXPECT_TRUE(m_model.UpdateLightParameter(LightParameter::ColourValue, 0x00FF00));
  LightSetting light;
  ASSERT_TRUE(m_store.DbGetLight(1, 2, light));
  EXPECT_EQ(light.colorful, 0);
  EXPECT_EQ(light.color_value, 0x00FF00);
  EXPECT_EQ(m_host.queued.size(), 1u);

  m_model.SelectLightMode(3);
  m_host.queued.clear();
  EXPECT_TRUE(m_model.UpdateLightParameter(LightParameter::ColourValue, 0x123456));
  EXPECT_TRUE(m_host.queued.empty());
  ASSERT_TRUE(m_store.DbGetLight(1, 3, light));
  EXPECT_EQ(light.color_value, 0x123456);
}

TEST_F(LightingModelTest, MissingRowChangesNothing) {
  EXPECT_FALSE(m_model.UpdateLightParameter(LightParameter::Brightness, 3));
  EXPECT_TRUE(m_host.queued.empty());
}

TEST_F(LightingModelTest, SavedKeyColoursReplaceTheSetAndSchemesShowBlackWithoutRows) {
  m_model.EnsureLightRows(m_features, 101);
  m_host.picture = {{4, 0x0000FF}, {5, 0x00FF00}};
  EXPECT_FALSE(m_model.SaveKeyColours()) << "only in a mode with per-key colours";
  m_model.SelectLightMode(3);
  m_host.queued.clear();
  ASSERT_TRUE(m_model.SaveKeyColours());
  ASSERT_TRUE(m_model.SaveKeyColours());
  EXPECT_EQ(m_host.queued, (std::vector<int>{kWriteKeyLights, kWriteKeyLights}));
  std::vector<KeyLight> rows;
  EXPECT_EQ(m_store.DbListKeyLights(128, rows), 2) << "saving twice replaces, never duplicates";

  m_host.picture = {{4, 0xFFFFFF}, {5, 0xFFFFFF}, {6, 0xFFFFFF}};
  m_model.ShowColourScheme(0, m_protocol, Inputs(), m_layout);
  EXPECT_EQ(m_host.picture[0].rgb, 0x0000FFu);
  EXPECT_EQ(m_host.picture[2].rgb, 0u);
  m_model.ShowColourScheme(1, m_protocol, Inputs(), m_layout);
  for (const auto& key : m_host.picture) EXPECT_EQ(key.rgb, 0u);
  const auto features = m_link.Transfers(Transfer::Feature);
  ASSERT_EQ(features.size(), 2u);
  EXPECT_EQ(features[1].bytes[3], 2) << "mode 3 minus 1";
  EXPECT_EQ(features[1].bytes[7], 1) << "the scheme number";
}

TEST(LightingModes, MusicOnlyModesNeedTheCable) {
  const std::vector<LightModeEntry> catalogue = {
      {L"1", 1, 0x001}, {L"2", 2, LightCapability::Music}, {L"3", 3, LightCapability::Music | 0x001}};
  EXPECT_EQ(LightingModel::OfferedModes(catalogue, 0).size(), 3u);
  const auto wireless = LightingModel::OfferedModes(catalogue, 1);
  ASSERT_EQ(wireless.size(), 2u);
  EXPECT_EQ(wireless[1].mode, 3);
}

TEST_F(LightingModelTest, HostDrivenPaintingRules) {
  m_model.EnsureLightRows(m_features, 101);
  m_model.SelectLightMode(5);
  EXPECT_TRUE(m_model.MusicLightActive());
  EXPECT_TRUE(m_model.PaintsHostDriven(101, true, true));
  EXPECT_FALSE(m_model.PaintsHostDriven(201, true, true));
  EXPECT_FALSE(m_model.PaintsHostDriven(101, false, true));
  EXPECT_FALSE(m_model.PaintsHostDriven(101, true, false));
  m_model.SelectLightMode(1);
  EXPECT_FALSE(m_model.PaintsHostDriven(101, true, true));
}

}  // namespace
