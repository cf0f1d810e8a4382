#include "core/conversion_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/core/conversion_fixture.h"

namespace velmo::core {
namespace {

using namespace testing_support;
using test::FakeAnswer;
using test::FakeServices;
using testing::ElementsAre;
using testing::IsEmpty;
using text::Text;

TEST_F(ConversionRunTest, FillsEverySlotWithItsServicesAnswer) {
  Run();
  ASSERT_TRUE(WaitForWrites(kServiceCount));
  for (int n = 1; n <= kServiceCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(controls_->ResultText(n), Short(n, 1));
    ASSERT_EQ(fakes_.RequestCount(n), 1u);
    EXPECT_EQ(fakes_.Requests(n)[0].encoded_address, "http%3A%2F%2Fsrv%2Fa%20b");
  }
  EXPECT_THAT(controls_->PagesShown(), ElementsAre(Text("http://ad.example/page")));
  EXPECT_THAT(controls_->MessagesShown(), IsEmpty());
}

// The run returns while every service still holds its answer back, and all
// nine requests are then waiting at the same time.
TEST_F(ConversionRunTest, ReturnsWithoutWaitingAndAsksAllServicesAtOnce) {
  for (int n = 1; n <= kServiceCount; ++n) fakes_.Hold(n);
  Run();
  EXPECT_EQ(controls_->TotalWrites(), 0u);
  ASSERT_TRUE(fakes_.WaitForRequests(kServiceCount, kBound));
  EXPECT_EQ(controls_->TotalWrites(), 0u);
  for (int n = 1; n <= kServiceCount; ++n) fakes_.Release(n);
  ASSERT_TRUE(WaitForWrites(kServiceCount));
}

TEST_F(ConversionRunTest, BareSchemeShowsTheMessageAndStartsNothing) {
  controls_->SetAddressText("http://");
  Run();
  EXPECT_EQ(starts_, 0);
  EXPECT_THAT(controls_->MessagesShown(),
              ElementsAre(ShownMessage{Cp936("请填写转换网址"), Cp936("提示:")}));
  // The page is reloaded before the address is looked at.
  EXPECT_THAT(controls_->PagesShown(), ElementsAre(Text("http://ad.example/page")));
}

TEST_F(ConversionRunTest, AllTogglesOffStartsNothingAndReadsNoBox) {
  for (int n = 1; n <= kServiceCount; ++n) controls_->SetToggleState(n, "1");
  Run();
  EXPECT_EQ(starts_, 0);
  for (int n = 1; n <= kServiceCount; ++n) EXPECT_EQ(controls_->BoxReads(n), 0) << n;
  EXPECT_THAT(controls_->MessagesShown(), IsEmpty());
  EXPECT_THAT(controls_->PagesShown(), ElementsAre(Text("http://ad.example/page")));
}

TEST_F(ConversionRunTest, AllBoxesFilledStartsNothing) {
  for (int n = 1; n <= kServiceCount; ++n) controls_->SetResultText(n, "http://done.example/");
  controls_->SetResultText(5, " ");  // any text at all means done
  Run();
  EXPECT_EQ(starts_, 0);
  EXPECT_EQ(controls_->ResultText(5), Text(" "));
  EXPECT_EQ(controls_->TotalWrites(), 0u);
  EXPECT_THAT(controls_->PagesShown(), ElementsAre(Text("http://ad.example/page")));
}

// Only "0" means on; an off service's box is not even read, and keeps its text.
TEST_F(ConversionRunTest, SkipsServicesThatAreOffOrDone) {
  controls_->SetToggleState(3, "1");
  controls_->SetToggleState(7, "");
  controls_->SetToggleState(8, "00");
  controls_->SetResultText(8, "kept");
  controls_->SetResultText(5, " ");
  Run();
  ASSERT_TRUE(WaitForWrites(5));
  EXPECT_EQ(starts_, 5);
  for (const int off : {3, 7, 8}) EXPECT_EQ(controls_->BoxReads(off), 0) << off;
  EXPECT_EQ(controls_->ResultText(3), Text());
  EXPECT_EQ(controls_->ResultText(8), Text("kept"));
  EXPECT_EQ(controls_->ResultText(5), Text(" "));
  for (const int on : {1, 2, 4, 6, 9}) EXPECT_EQ(controls_->ResultText(on), Short(on, 1)) << on;
  EXPECT_EQ(fakes_.TotalRequests(), 5u);
}

struct ScreeningCase {
  const char* name;
  const char* address;  // UTF-8 here; typed in code page 936
  const char* sent;
};

void PrintTo(const ScreeningCase& row, std::ostream* out) {
  *out << row.name;
}

class AddressScreeningTest : public ConversionRunTest,
                             public testing::WithParamInterface<ScreeningCase> {};

// Everything but the bare scheme goes to every service, prefixed as needed.
TEST_P(AddressScreeningTest, StartsEveryServiceWithoutAMessage) {
  controls_->SetAddressText(Cp936(GetParam().address));
  Run();
  ASSERT_TRUE(WaitForWrites(kServiceCount));
  EXPECT_THAT(controls_->MessagesShown(), IsEmpty());
  for (int n = 1; n <= kServiceCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(controls_->ResultText(n), Short(n, 1));
    ASSERT_EQ(fakes_.RequestCount(n), 1u);
    EXPECT_EQ(fakes_.Requests(n)[0].encoded_address, GetParam().sent);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, AddressScreeningTest,
    testing::Values(ScreeningCase{"Capitals", "HTTP://", "http%3A%2F%2FHTTP%3A%2F%2F"},
                    ScreeningCase{"TrailingSpace", "http:// ", "http%3A%2F%2F%20"},
                    ScreeningCase{"Empty", "", "http%3A%2F%2F"},
                    ScreeningCase{"Chinese", "网址.cn/页",
                                  "http%3A%2F%2F%E7%BD%91%E5%9D%80.cn%2F%E9%A1%B5"}),
    [](const testing::TestParamInfo<ScreeningCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmo::core
