#pragma once
// The window's controls as the conversion run sees them. Services are numbered
// 1 to 9; service n's toggle is 图形按钮(n+3) and its result box 编辑框_短址n.
//
// Threads: ReadAddressText and WriteResultBox are called from worker threads
// while the user-interface thread goes on with its own work; an implementation
// must carry them out safely from any thread without the user-interface thread
// ever waiting for a worker. Every other call comes from the thread that runs
// RunConversion. When a worker thread cannot be started, that thread also makes
// the worker's two calls itself, so they must not wait for it there.

#include "text/text.h"

namespace velmo::core {

class ConversionControls {
 public:
  virtual ~ConversionControls();

  // The text of 编辑框_URL: the long address the user typed.
  virtual text::Text ReadAddressText() = 0;
  // The text of 编辑框1: the address of the advertising page.
  virtual text::Text ReadAdvertisingAddress() = 0;
  // Points 超文本浏览框1 at the address, which loads it at once.
  virtual void ShowAdvertisingPage(const text::Text& address) = 0;
  // The tag text of service n's toggle: "0" means on, anything else off.
  virtual text::Text ReadToggleState(int service) = 0;
  virtual text::Text ReadResultBox(int service) = 0;
  virtual void WriteResultBox(int service, const text::Text& result) = 0;
  // The one message box: OK only, no icon, no owner, task-modal. Returns when
  // the user has closed it.
  virtual void ShowMessage(const text::Text& message, const text::Text& title) = 0;
};

}  // namespace velmo::core
