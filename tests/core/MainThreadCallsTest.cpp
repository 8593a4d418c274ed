#include "core/MainThreadCalls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

TEST(MainThreadCalls, WorkerCallsRunOnTheWaitingThreadAndErrorsReturnToTheWorker) {
  MainThreadCalls calls;
  std::thread::id mainId = std::this_thread::get_id();
  std::vector<std::thread::id> ranOn;
  std::atomic<bool> done{false};
  std::string workerSaw;
  std::atomic<int> idles{0};
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) calls.Synchronize([&] { ranOn.push_back(std::this_thread::get_id()); });
    try {
      calls.Synchronize([] { throw std::runtime_error("from main"); });
    } catch (const std::exception& e) {
      workerSaw = e.what();
    }
    // The main thread must go on serving its window while a worker runs without calling.
    while (idles.load() == 0) std::this_thread::yield();
    done = true;
    calls.Notify();
  });
  calls.WaitUntil([&] { return done.load(); }, [&] { ++idles; });
  worker.join();
  ASSERT_EQ(ranOn.size(), 3u);
  for (auto id : ranOn) EXPECT_EQ(id, mainId);
  EXPECT_EQ(workerSaw, "from main");
  EXPECT_GT(idles, 0);
}
