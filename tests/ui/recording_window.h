#pragma once
// A window without a toolkit: every control a text and a tag, and a log of
// every operation in the order it happened, in UTF-8 so a failure reads well.

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "text/codepage.h"
#include "ui/window.h"
#include "ui/window_description.h"

namespace velmo::ui::test {

class RecordingWindow : public Window {
 public:
  RecordingWindow() {
    for (const ControlRow& row : WindowDescription()) {
      texts[row.name.str()] = row.text;
      tags[row.name.str()] = row.tag;
    }
  }

  text::Text ReadText(const text::Text& control) override { return texts[control.str()]; }
  void WriteText(const text::Text& control, const text::Text& value) override {
    texts[control.str()] = value;
    Log("write " + Utf8(control));
    // What the window does for 编辑框_URL on every write.
    if (control == names::AddressBox()) Navigate(texts[names::AdvertOnChange().str()]);
  }
  text::Text ReadTag(const text::Text& control) override { return tags[control.str()]; }
  void WriteTag(const text::Text& control, const text::Text& tag) override {
    tags[control.str()] = tag;
    Log("tag " + Utf8(control) + "=" + tag.str());
  }
  void SetPictures(const text::Text& control, assets::PictureId normal,
                   assets::PictureId hover) override {
    pictures[control.str()] = {normal, hover};
    Log("pictures " + Utf8(control) + "=" + std::string(assets::PictureName(normal)) + "," +
        std::string(assets::PictureName(hover)));
  }
  void DrawPicture(const text::Text& canvas, assets::PictureId picture, int left, int top,
                   int width, int height) override {
    Log("draw " + Utf8(canvas) + " " + std::string(assets::PictureName(picture)) + " " +
        std::to_string(left) + "," + std::to_string(top) + " " + std::to_string(width) + "x" +
        std::to_string(height));
  }
  void Navigate(const text::Text& address) override { Log("navigate " + address.str()); }
  void OpenInBrowser(const text::Text& address) override { Log("open " + address.str()); }
  void ShowMessage(const text::Text& message, const text::Text& title) override {
    Log("message " + Utf8(title) + Utf8(message));
  }
  void Minimise() override { Log("minimise"); }
  void PostClose() override { Log("close"); }

  static std::string Utf8(const text::Text& text) { return text::AnsiToUtf8(text).str(); }
  void Log(std::string entry) { log.push_back(std::move(entry)); }

  std::map<std::string, text::Text> texts;
  std::map<std::string, text::Text> tags;
  std::map<std::string, std::pair<assets::PictureId, assets::PictureId>> pictures;
  std::vector<std::string> log;
};

}  // namespace velmo::ui::test
