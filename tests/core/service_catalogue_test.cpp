#include "core/service_catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/text/text_printers.h"
#include "text/codepage.h"
#include "text/text_ops.h"

namespace velmo::core {
namespace {

using text::Text;

// The table's code page 936 bytes are written as escapes; converting the
// readable UTF-8 spelling here catches a wrong byte in any of them.
Text Cp936(const std::string& utf8) {
  return text::Utf8ToAnsi(Text(utf8));
}

TEST(ServiceCatalogueTest, RowsAreNumberedInDispatchOrder) {
  const Catalogue catalogue = DefaultCatalogue();
  for (int n = 1; n <= kServiceCount; ++n) {
    SCOPED_TRACE(n);
    const ServiceSlot& slot = catalogue[static_cast<std::size_t>(n - 1)];
    EXPECT_EQ(slot.number, n);
  }
}

// No user's address may go to whoever holds a lapsed service's name: every
// host but is.gd's lies under the reserved ".invalid" domain.
TEST(ServiceCatalogueTest, OnlyTheLiveServiceHasAReachableHost) {
  const Catalogue catalogue = DefaultCatalogue();
  for (const ServiceSlot& slot : catalogue) {
    SCOPED_TRACE(slot.number);
    if (slot.number == 6) {
      // A POST over http would be redirected to https and lose its body.
      EXPECT_EQ(slot.endpoint_base, Text("https://is.gd"));
      EXPECT_EQ(slot.label, Text("is.gd"));
    } else {
      EXPECT_TRUE(slot.endpoint_base.view().starts_with("http://"));
      EXPECT_TRUE(slot.endpoint_base.view().ends_with(".invalid"));
      EXPECT_EQ(slot.label, Cp936("服务" + std::to_string(slot.number)));
    }
  }
}

TEST(ServiceCatalogueTest, ServiceFivesMarkerIsInCodePage936) {
  EXPECT_EQ(DefaultCatalogue()[4].start_marker, Cp936("<p>缩短后: <strong><a href=\""));
}

}  // namespace
}  // namespace velmo::core
