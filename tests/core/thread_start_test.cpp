#include "core/thread_start.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace velmo::core {
namespace {

TEST(StartDetachedThreadTest, RunsTheEntryOnAThreadOfItsOwn) {
  // The thread owns its share of the promise: it may still be inside
  // set_value when the test has already moved on.
  const auto ran = std::make_shared<std::promise<std::thread::id>>();
  auto ran_on = ran->get_future();
  ASSERT_TRUE(StartDetachedThread([ran] { ran->set_value(std::this_thread::get_id()); }));
  ASSERT_EQ(ran_on.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_NE(ran_on.get(), std::this_thread::get_id());
}

}  // namespace
}  // namespace velmo::core
