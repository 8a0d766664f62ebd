#pragma once
// A small control that records what reaches it and fills its rectangle
// with one colour, a parent that records redraw requests, a dialog that
// records notifications, and loop helpers for the tests on a real X server.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "MessagePump.h"
#include "platform/UiLoop.h"
#include "toolkit/core/MControlFont.h"
#include "toolkit/core/MDialog.h"

class TestControl : public MControlFont {
 public:
  TestControl(MObject* parent, unsigned id, CRect rect, int visible = 1, ARGB colour = 0xFF2080C0)
      : MControlFont(parent, id, rect, L"", visible, 1, 1), colour(colour) {}

  void DrawControl(Canvas& dc, CRect clip) override {
    (void)clip;
    ++draws;
    dc.FillRect(m_rect, colour);
    if (drawExtra) drawExtra(dc);
  }
  int OnControlMouseMove(unsigned, CPoint p) override {
    ++moves;
    lastMove = p;
    return 1;
  }
  int OnControlLButtonDown(unsigned, CPoint p) override {
    ++presses;
    lastPress = p;
    return 1;
  }
  int OnControlLButtonUp(unsigned, CPoint p) override {
    ++releases;
    lastRelease = p;
    return 1;
  }
  int OnControlLButtonDblClk(unsigned, CPoint) override {
    ++doubleClicks;
    return 1;
  }
  int OnControlScroll(int, unsigned down, CPoint) override {
    scrolls.push_back(down);
    return 1;
  }
  int OnControlKeyDown(unsigned vk, unsigned, unsigned modifiers) override {
    keys.push_back({vk, modifiers});
    return 1;
  }
  int OnControlTimer() override {
    ++ticks;
    return 1;
  }
  int SetControlFocus(int focus) override {
    focusCalls.push_back(focus);
    return MControl::SetControlFocus(focus);
  }

  ARGB colour;
  int draws = 0, moves = 0, presses = 0, releases = 0, doubleClicks = 0;
  std::atomic<int> ticks{0};
  CPoint lastMove, lastPress, lastRelease;
  std::vector<unsigned> scrolls;
  std::vector<std::pair<unsigned, unsigned>> keys;
  std::vector<int> focusCalls;
  std::function<void(Canvas&)> drawExtra;
};

// Records the redraw requests of its children.
class RecordingParent : public MObject {
 public:
  long OnControlUpdate(CRect rect, int flag, MControl* control) override {
    updates.push_back({rect, flag, control});
    return 0;
  }
  long OnBaseMessage(unsigned id, unsigned code, unsigned, long) override {
    messages.push_back({id, code});
    return 0;
  }
  struct Update {
    CRect rect;
    int flag;
    MControl* control;
  };
  std::vector<Update> updates;
  std::vector<std::pair<unsigned, unsigned>> messages;
};

class TestDialog : public MDialog {
 public:
  long OnMessage(unsigned id, unsigned code, unsigned wParam, long lParam) override {
    (void)wParam;
    (void)lParam;
    notifications.push_back({id, code});
    return 0;
  }
  void InitUI(CRect client) override {
    ++initCalls;
    if (onInit) onInit(*this, client);
  }
  void UISize(CRect client) override { lastSize = client; }

  // Adds a test control at top level (through the manager's list).
  TestControl* Add(unsigned id, CRect rect, int visible = 1, ARGB colour = 0xFF2080C0) {
    auto* c = new TestControl(this, id, rect, visible, colour);
    c->SetManager(&m_paintManager);
    c->InitControl(&m_paintManager);
    m_paintManager.AddControl(c, 1);
    return c;
  }
  bool Open(CRect rect = CRect(100, 100, 420, 340)) {
    return Create(0, L"core test", platform::WS_POPUP | platform::WS_VISIBLE, 0, rect) != 0;
  }

  std::vector<std::pair<unsigned, unsigned>> notifications;
  int initCalls = 0;
  CRect lastSize;
  std::function<void(TestDialog&, CRect)> onInit;
};

