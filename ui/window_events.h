#pragma once
// The main window's handlers, toolkit-neutral: each one runs on the
// user-interface thread, one at a time, and neither starts nor waits for a
// thread. The convert click is the core's RunConversion and the save click is
// SaveResults (result_files.h).

#include "text/text.h"
#include "ui/window.h"

namespace velmo::ui {

// Once every control exists: the logo into 画板1 and all nine services on.
void OnWindowCreated(Window& window);
// Flips one service toggle: pictures first, then its tag text.
void ToggleService(Window& window, const text::Text& toggle);
// Sends the browser box to the address held in an address holder box.
void ShowAdvert(Window& window, const text::Text& holder_box);
// Every change of 编辑框_URL, by the user or by the program.
void OnAddressTextChanged(Window& window);
void ClearAll(Window& window);
void OpenMakerSite(Window& window);
void OpenForumPage(Window& window);
void MinimiseWindow(Window& window);
void CloseMainWindow(Window& window);

}  // namespace velmo::ui
