#pragma once
// What the handlers need of the main window, whatever toolkit draws it. Every
// call is made on the user-interface thread.

#include "assets/pictures.h"
#include "text/text.h"

namespace velmo::ui {

class Window {
 public:
  virtual ~Window();

  // The content of an edit box, the caption of a button, the text of a label.
  virtual text::Text ReadText(const text::Text& control) = 0;
  // Setting an edit box's content fires its content-changed event once, after
  // the new text is in place, also when the text is the same as before.
  virtual void WriteText(const text::Text& control, const text::Text& value) = 0;
  virtual text::Text ReadTag(const text::Text& control) = 0;
  virtual void WriteTag(const text::Text& control, const text::Text& tag) = 0;
  // A picture button's normal and hover pictures; it repaints at once.
  virtual void SetPictures(const text::Text& control, assets::PictureId normal,
                           assets::PictureId hover) = 0;
  // A plain copy of the picture, stretched to the rectangle, into a canvas.
  virtual void DrawPicture(const text::Text& canvas, assets::PictureId picture, int left, int top,
                           int width, int height) = 0;
  // Sends the browser box to the address, which it starts loading at once.
  virtual void Navigate(const text::Text& address) = 0;
  // Hands the address to the user's default browser; nothing is reported
  // when that fails.
  virtual void OpenInBrowser(const text::Text& address) = 0;
  // The one message box: OK only, returns when the user has closed it.
  virtual void ShowMessage(const text::Text& message, const text::Text& title) = 0;
  virtual void Minimise() = 0;
  // Closes the window once the event being handled has finished.
  virtual void PostClose() = 0;
};

}  // namespace velmo::ui
