// Messages posted from other threads reach the UI thread's loop, in order,
// and wake it; also through the MessageTarget interface core code holds.
#include <atomic>
#include <thread>

#include "platform/MessageTarget.h"
#include "tests/toolkit/WindowTestSupport.h"

using namespace platform;

class ThreadedPostTest : public DisplayTest {};

TEST_F(ThreadedPostTest, MessagesFromSeveralThreadsArriveInOrderPerThread) {
  RecordingHandler handler;
  Window window(&handler);
  WindowCreateParams params;
  params.title = L"Kestrel post test";
  params.style = WS_POPUP;
  params.rect = {0, 0, 20, 20};
  ASSERT_TRUE(window.Create(params));
  MessageTarget* target = &window;
  constexpr int kPerThread = 200;
  std::vector<std::thread> posters;
  for (int t = 0; t < 3; ++t) {
    posters.emplace_back([target, t] {
      for (int i = 0; i < kPerThread; ++i) target->PostMessage(kAppMessageFirst + t, i, t);
    });
  }
  for (auto& poster : posters) poster.join();
  ASSERT_TRUE(PumpUntil([&] {
    size_t n = 0;
    for (int t = 0; t < 3; ++t) n += handler.Count(kAppMessageFirst + t);
    return n == 3 * kPerThread;
  }));
  int next[3] = {0, 0, 0};
  for (const Message& m : handler.messages) {
    if (m.message < kAppMessageFirst || m.message > kAppMessageFirst + 2) continue;
    const int t = static_cast<int>(m.message - kAppMessageFirst);
    EXPECT_EQ(m.wParam, static_cast<uintptr_t>(next[t]++));
    EXPECT_EQ(m.lParam, t);
    EXPECT_TRUE(m.posted);
  }
}

TEST_F(ThreadedPostTest, APostWakesALoopThatIsWaiting) {
  RecordingHandler handler;
  Window window(&handler);
  WindowCreateParams params;
  params.style = WS_POPUP;
  params.rect = {0, 0, 20, 20};
  ASSERT_TRUE(window.Create(params));
  handler.onMessage = [](Window&, const Message& m, intptr_t&) {
    if (m.message == kAppMessageLast) PostQuitMessage(static_cast<int>(m.wParam));
    return false;
  };
  std::thread poster([&window] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    window.PostMessage(kAppMessageLast, 42, 0);
  });
  // The loop waits with no timer or paint pending; only the post can wake it.
  EXPECT_EQ(RunMessageLoop(), 42);
  poster.join();
}

TEST_F(ThreadedPostTest, PostingToAWindowThatIsGoneIsDropped) {
  RecordingHandler handler;
  auto window = std::make_unique<Window>(&handler);
  WindowCreateParams params;
  params.style = WS_POPUP;
  params.rect = {0, 0, 20, 20};
  ASSERT_TRUE(window->Create(params));
  const WindowHandle handle = window->GetHandle();
  std::thread poster([handle] { PostMessage(handle, kAppMessageFirst, 1, 0); });
  poster.join();
  window.reset();
  handler.messages.clear();
  PumpFor(30);
  EXPECT_EQ(handler.Count(kAppMessageFirst), 0u);
}

TEST_F(ThreadedPostTest, InvalidationsFromAnotherThreadBecomePaints) {
  RecordingHandler handler;
  Window window(&handler);
  WindowCreateParams params;
  params.style = WS_POPUP | WS_VISIBLE;
  params.rect = {0, 0, 40, 40};
  ASSERT_TRUE(window.Create(params));
  ASSERT_TRUE(PumpUntil([&] { return handler.Count(WM_PAINT) > 0; }));
  handler.messages.clear();
  Rect last;
  handler.onMessage = [&](Window& w, const Message& m, intptr_t&) {
    if (m.message == WM_PAINT) last = w.GetUpdateRect();
    return false;
  };
  std::atomic<bool> done{false};
  std::thread animator([&] {
    for (int i = 0; i < 200; ++i) {
      Rect r{i % 30, 5, i % 30 + 10, 15};
      window.Invalidate(&r);
    }
    Rect tail{30, 30, 100, 100};  // clipped to the client when painted
    window.Invalidate(&tail);
    done = true;
  });
  animator.join();
  ASSERT_TRUE(PumpUntil([&] { return done && last.right == 40; }));
  EXPECT_EQ(last.bottom, 40);
  EXPECT_GE(handler.Count(WM_PAINT), 1u);
}
