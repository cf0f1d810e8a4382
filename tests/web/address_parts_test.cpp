#include "web/address_parts.h"

#include <gtest/gtest.h>

#include <ostream>

namespace velmo::web {
namespace {

struct AddressCase {
  const char* name;
  const char* address;
  const char* host;
  const char* host_with_port;
  int port;
  const char* object_path;
};

// Names the row in failure messages instead of dumping its bytes.
void PrintTo(const AddressCase& row, std::ostream* out) {
  *out << row.name;
}

class AddressPartsTest : public testing::TestWithParam<AddressCase> {};

TEST_P(AddressPartsTest, SplitsAddress) {
  const AddressCase& c = GetParam();
  EXPECT_EQ(HostOf(c.address).str(), c.host);
  EXPECT_EQ(HostOf(c.address, true).str(), c.host_with_port);
  EXPECT_EQ(PortOf(c.address), c.port);
  EXPECT_EQ(ObjectPathOf(c.address).str(), c.object_path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressPartsTest,
    testing::Values(
        AddressCase{"NoPath", "http://srv", "srv", "srv", 80, "/"},
        AddressCase{"NoScheme", "srv/x", "srv", "srv", 80, "/x"},
        AddressCase{"PortAndQuery", "http://srv:81/x?y=1", "srv", "srv:81", 81, "/x?y=1"},
        AddressCase{"PortNoPath", "http://srv:81", "srv", "srv:81", 81, "/"},
        AddressCase{"Https", "https://srv/x", "srv", "srv", 443, "/x"},
        // The scheme test lower-cases first; the path keeps the address's case.
        AddressCase{"Capitals", "HTTPS://SRV/X", "srv", "srv", 443, "/X"},
        AddressCase{"MixedCaseHttp", "hTtP://Srv:8080/A?B=C", "srv", "srv:8080", 8080, "/A?B=C"},
        // Without a scheme of its own, the "http://" inside the query counts.
        AddressCase{"SchemeOnlyInQuery", "srv/?u=http://other/x", "other", "other", 80, "/x"},
        AddressCase{"FirstSchemeCounts", "http://srv/?u=http://other/x", "srv", "srv", 80,
                    "/?u=http://other/x"},
        AddressCase{"QueryRightAfterHost", "http://srv?x=1", "srv?x=1", "srv?x=1", 80, "/"},
        AddressCase{"ColonWithoutDigits", "http://srv:/x", "srv", "srv:", 0, "/x"},
        AddressCase{"Empty", "", "", "", 80, "/"},
        // The last colon of the host counts for the port, the first for the host.
        AddressCase{"TwoColons", "http://a:b:82/x", "a", "a:b:82", 82, "/x"},
        AddressCase{"TrailingSlash", "http://srv/", "srv", "srv", 80, "/"}),
    [](const testing::TestParamInfo<AddressCase>& row) { return row.param.name; });

}  // namespace
}  // namespace velmo::web
