#pragma once
// The nine shortening services: how each one is asked and where its answer
// holds the short address. The table in DefaultCatalogue is the one place a
// service's host or recipe is written down.

#include <array>

#include "text/text.h"

namespace velmo::core {

enum class RequestMethod { kGet, kPost };

// FetchDecodedText percent-decodes the page and converts it from UTF-8;
// FetchRawText hands over the body bytes as they came.
enum class FetchMode { kDecoded, kRaw };

enum class Extraction {
  kBetweenMarkers,
  kWholeBody,  // the page itself is the short address, with no check at all
};

enum class AfterStep {
  kNone,
  kUnescapeSlashes,  // JSON answers write "/" as "\/"
};

// One service. A row is a plain value: a worker keeps its own copy, and a
// test may copy a row and point it at a server of its own.
struct ServiceSlot {
  int number = 0;  // 1 to 9, the dispatch order; the window binds its
                   // toggle, label and result box to this number

  // What the service's label shows.
  text::Text label;

  RequestMethod method = RequestMethod::kPost;
  // Scheme and host, with a port only where the service is not on the
  // scheme's own one; no slash at the end.
  text::Text endpoint_base;
  // The endpoint's path. A GET's query follows it as request_head, the
  // encoded address and request_tail; a POST sends those three as its form
  // body.
  text::Text path;
  text::Text request_head;
  text::Text request_tail;

  FetchMode fetch = FetchMode::kDecoded;
  Extraction extraction = Extraction::kBetweenMarkers;
  text::Text start_marker;
  text::Text end_marker;
  AfterStep after_step = AfterStep::kNone;
};

inline constexpr int kServiceCount = 9;

// Index n - 1 holds service n.
using Catalogue = std::array<ServiceSlot, kServiceCount>;

// The nine services as the program asks them.
Catalogue DefaultCatalogue();

}  // namespace velmo::core
