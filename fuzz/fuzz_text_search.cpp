// FindText, FindTextReverse and ReplaceText against the literal
// character-by-character stepping.

#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "tests/text/reference_scan.h"
#include "text/text_ops.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using velmo::text::Text;
  namespace reference = velmo::text::reference;
  velmo::fuzz::Input input(data, size);
  const Text text(input.Next());
  const Text sought(input.Next());
  const Text replacement(input.Next());
  const int start = input.NextSmall();
  const bool fold = (start & 1) != 0;

  if (velmo::text::FindText(text, sought, start, fold) !=
      reference::FindText(text.view(), sought.view(), start, fold)) {
    std::abort();
  }
  if (velmo::text::FindTextReverse(text, sought) !=
      reference::FindTextReverse(text.view(), sought.view())) {
    std::abort();
  }
  const Text replaced = velmo::text::ReplaceText(text, sought, replacement);
  if (replaced.str() != reference::ReplaceText(text.view(), sought.view(), replacement.view())) {
    std::abort();
  }
  if (replaced.view().find('\0') != std::string_view::npos) std::abort();
  return 0;
}
