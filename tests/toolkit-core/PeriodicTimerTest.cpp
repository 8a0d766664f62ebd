// The periodic timer drives controls on its own thread; their redraw
// requests come back to the UI thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CoreTestSupport.h"
#include "toolkit/core/MPanel.h"

namespace {

class PeriodicTimer : public DisplayTest {};

// Asks for a redraw on every tick, from the timer thread.
class Ticker : public TestControl {
 public:
  using TestControl::TestControl;
  int OnControlTimer() override {
    ++ticks;
    if (std::this_thread::get_id() != uiThread) offThread = true;
    UpdateControl(1);
    return 1;
  }
  std::thread::id uiThread = std::this_thread::get_id();
  std::atomic<bool> offThread{false};
};

TEST_F(PeriodicTimer, TicksRunOffTheUiThreadAndRepaintsHappenOnIt) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  PaintManager& pm = dialog.GetPaintManager();
  auto* ticker = new Ticker(&dialog, 5, CRect(0, 0, 40, 40));
  ticker->SetManager(&pm);
  pm.AddControl(ticker, 1);
  std::atomic<bool> drawnOffThread{false};
  const std::thread::id ui = std::this_thread::get_id();
  ticker->drawExtra = [&](Canvas&) {
    if (std::this_thread::get_id() != ui) drawnOffThread = true;
  };
  ticker->SetRunTimer(1);
  ticker->AddMTimer();
  ASSERT_NE(dialog.SetMTimer(10), 0u);
  ASSERT_TRUE(PumpUntil([&] { return ticker->ticks >= 5; }));
  const int drawsBefore = ticker->draws;
  ASSERT_TRUE(PumpUntil([&] { return ticker->draws > drawsBefore + 2; }));
  EXPECT_TRUE(ticker->offThread);
  EXPECT_FALSE(drawnOffThread);

  // Not ticked while its run flag is off.
  ticker->SetRunTimer(0);
  PumpFor(40);
  const int stopped = ticker->ticks;
  PumpFor(60);
  EXPECT_EQ(ticker->ticks, stopped);
  dialog.KillMTimer(0);
}

TEST_F(PeriodicTimer, HiddenParentsStopTicksAndRemovedControlsAreNotTicked) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  PaintManager& pm = dialog.GetPaintManager();
  auto* panel = new MPanel(&dialog, 10, CRect(0, 0, 200, 200), 1);
  panel->SetManager(&pm);
  panel->InitControl(&pm);
  pm.AddControl(panel, 1);
  std::vector<Ticker*> tickers;
  for (unsigned i = 0; i < 8; ++i) {
    auto* t = new Ticker(panel, 20 + i, CRect(10 * i, 0, 10 * i + 10, 10));
    t->SetManager(&pm);
    t->SetRunTimer(1);
    panel->AddChild(t, 1);
    t->AddMTimer();
    tickers.push_back(t);
  }
  ASSERT_NE(dialog.SetMTimer(5), 0u);
  ASSERT_TRUE(PumpUntil([&] { return tickers[0]->ticks >= 3; }));
  // Removing controls while the timer runs: the removed ones leave the list.
  for (size_t i = 1; i < tickers.size(); ++i) {
    panel->RemoveControl(tickers[i]);
    PumpFor(5);
  }
  panel->SetVisible(0);
  PumpFor(40);
  const int hidden = tickers[0]->ticks;
  PumpFor(60);
  EXPECT_EQ(tickers[0]->ticks, hidden);
  panel->SetVisible(1);
  ASSERT_TRUE(PumpUntil([&] { return tickers[0]->ticks > hidden; }));
  dialog.DestroyWindow();
}

}  // namespace
