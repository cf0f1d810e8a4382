// Every service's cut over any answer body, without a server: the result is
// the whole body as the fetch mode hands it on (the whole-body service), or
// exactly what stands between the first start marker and the first end
// marker after it, with the row's after-step applied; the empty text when the
// markers are not there.

#include <cstdlib>

#include "core/service_catalogue.h"
#include "core/shorten_address.h"
#include "text/text_ops.h"
#include "text/url_coding.h"

namespace {

using velmo::core::ServiceSlot;
using velmo::text::Text;

const velmo::core::Catalogue& Rows() {
  static const velmo::core::Catalogue rows = velmo::core::DefaultCatalogue();
  return rows;
}

// Found with the plain character search, one step at a time.
Text BetweenMarkers(const Text& page, const ServiceSlot& row) {
  namespace t = velmo::text;
  const int start = t::FindText(page, row.start_marker);
  if (start == -1) return {};
  const int after_start = start + t::TextLength(row.start_marker);
  const int end = t::FindText(page, row.end_marker, after_start);
  if (end == -1) return {};
  return t::TextMid(page, after_start, end - after_start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using velmo::core::AfterStep;
  using velmo::core::Extraction;
  using velmo::core::FetchMode;
  const Text body(std::string_view(reinterpret_cast<const char*>(data), size));
  const Text decoded = velmo::text::UrlDecode(body);

  for (const ServiceSlot& row : Rows()) {
    const Text result = velmo::core::ExtractShortAddress(row, body);
    const Text& page = row.fetch == FetchMode::kDecoded ? decoded : body;
    Text expected = row.extraction == Extraction::kWholeBody ? page : BetweenMarkers(page, row);
    if (row.after_step == AfterStep::kUnescapeSlashes) {
      expected = velmo::text::ReplaceText(expected, "\\/", "/");
    }
    if (result != expected) std::abort();
    if (result.view().find('\0') != std::string_view::npos) std::abort();
  }
  return 0;
}
