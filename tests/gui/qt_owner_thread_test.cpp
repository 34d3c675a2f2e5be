// Work from other threads runs on the Qt main thread; shutting down never
// leaves a worker waiting.

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app/qt_owner_thread.h"
#include "gui/main_window_fixture.h"

namespace ombrel::gui_test {
namespace {

TEST(QtOwnerThreadTest, PostedAndSentWorkRunsOnTheMainThreadInOrder) {
  app::QtOwnerThread owner;
  QThread* const mainThread = QThread::currentThread();
  std::vector<int> order;
  std::atomic<bool> allOnMain{true};
  std::atomic<bool> sent{false};
  std::thread worker([&] {
    owner.post([&] {
      allOnMain = allOnMain && QThread::currentThread() == mainThread;
      order.push_back(1);
    });
    owner.send([&] {
      allOnMain = allOnMain && QThread::currentThread() == mainThread;
      order.push_back(2);
    });
    sent = true;
  });
  ASSERT_TRUE(waitFor([&] { return sent.load(); }));
  worker.join();
  EXPECT_TRUE(allOnMain);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));

  // On the main thread itself, send runs the work at once.
  bool ranAtOnce = false;
  owner.send([&] { ranAtOnce = true; });
  EXPECT_TRUE(ranAtOnce);
}

TEST(QtOwnerThreadTest, AFailureOfSentWorkReachesTheSender) {
  app::QtOwnerThread owner;
  std::atomic<bool> caught{false};
  std::thread worker([&] {
    try {
      owner.send([] { throw std::runtime_error("refused"); });
    } catch (const std::runtime_error& error) {
      caught = std::string(error.what()) == "refused";
    }
  });
  ASSERT_TRUE(waitFor([&] { return caught.load(); }));
  worker.join();
}

TEST(QtOwnerThreadTest, ShutdownReleasesAWaitingSenderAndDropsQueuedWork) {
  app::QtOwnerThread owner;
  std::atomic<bool> ran{false};
  std::atomic<bool> returned{false};
  // The main thread does not run its event loop: the sender waits.
  std::thread worker([&] {
    owner.post([&] { ran = true; });
    owner.send([&] { ran = true; });
    returned = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned);
  owner.shutdown();
  worker.join();
  EXPECT_TRUE(returned);
  settle();
  EXPECT_FALSE(ran);
  // Work after the shutdown is dropped as well.
  std::thread([&] { owner.send([&] { ran = true; }); }).join();
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace ombrel::gui_test
