// The handlers over a window without a toolkit. This target links no Qt: the
// window's behaviour is decided here, the adapter only carries it out.
#include "ui/window_events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/service_catalogue.h"
#include "tests/ui/recording_window.h"
#include "text/codepage.h"
#include "text/text_ops.h"
#include "ui/window_description.h"

namespace velmo::ui {
namespace {

using test::RecordingWindow;
using text::Text;

// Service n owns 图形按钮(n+3), 标签(n+1) and 编辑框_短址n; the label shows the
// catalogue's name for it.
TEST(WindowDescriptionTest, EveryServiceIsBoundToItsToggleLabelAndResultBox) {
  const auto gbk = [](const std::string& utf8) { return text::Utf8ToAnsi(Text(utf8)); };
  const core::Catalogue catalogue = core::DefaultCatalogue();
  for (int n = 1; n <= core::kServiceCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(names::ServiceToggle(n), gbk("图形按钮" + std::to_string(n + 3)));
    EXPECT_EQ(names::ResultBox(n), gbk("编辑框_短址" + std::to_string(n)));
    const ControlRow* label = FindControlRow(gbk("标签" + std::to_string(n + 1)));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text, text::JoinText(catalogue[static_cast<std::size_t>(n - 1)].label, ":"));
    ASSERT_NE(FindControlRow(names::ServiceToggle(n)), nullptr);
    ASSERT_NE(FindControlRow(names::ResultBox(n)), nullptr);
  }
}

TEST(WindowEventsTest, CreationDrawsTheLogoAndSwitchesEveryServiceOnPicturesBeforeTag) {
  RecordingWindow window;
  OnWindowCreated(window);
  ASSERT_EQ(window.log.size(), 1u + 2u * 9u);
  EXPECT_EQ(window.log[0], "draw 画板1 PicLogo 0,0 30x30");
  for (int service = 1; service <= 9; ++service) {
    const std::string toggle = "图形按钮" + std::to_string(service + 3);
    const auto at = static_cast<std::size_t>(2 * service - 1);
    EXPECT_EQ(window.log[at], "pictures " + toggle + "=PicToggleOn,PicToggleOnHover");
    EXPECT_EQ(window.log[at + 1], "tag " + toggle + "=0");
  }
}

TEST(WindowEventsTest, CreationFindsTogglesByTheirDesignTagsNotTheirCurrentOnes) {
  RecordingWindow window;
  // A toggle whose live tag has changed is still found by the tag it was
  // designed with.
  window.tags[names::ServiceToggle(4).str()] = "7";
  OnWindowCreated(window);
  for (int service = 1; service <= 9; ++service) {
    EXPECT_EQ(window.tags[names::ServiceToggle(service).str()], Text("0")) << service;
  }
  EXPECT_EQ(FindControlByDesignTag(10), nullptr);
}

TEST(WindowEventsTest, ToggleFlipsOnlyOneTurnsOnAndAnythingElseTurnsOff) {
  struct Case {
    const char* name;
    Text tag_before;
    Text tag_after;
    const char* pictures;
  };
  const std::vector<Case> cases = {
      {"off goes on", "1", "0", "PicToggleOn,PicToggleOnHover"},
      {"on goes off", "0", "1", "PicToggleOff,PicToggleOffHover"},
      {"unknown goes off", "2", "1", "PicToggleOff,PicToggleOffHover"},
      {"empty goes off", "", "1", "PicToggleOff,PicToggleOffHover"},
      {"one with a space goes off", "1 ", "1", "PicToggleOff,PicToggleOffHover"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingWindow window;
    const Text toggle = names::ServiceToggle(3);
    window.tags[toggle.str()] = c.tag_before;
    ToggleService(window, toggle);
    EXPECT_EQ(window.tags[toggle.str()], c.tag_after);
    ASSERT_EQ(window.log.size(), 2u);
    EXPECT_EQ(window.log[0], std::string("pictures 图形按钮6=") + c.pictures);
    EXPECT_EQ(window.log[1], "tag 图形按钮6=" + c.tag_after.str());
  }
}

TEST(WindowEventsTest, ClearEmptiesTheBoxesInOrderAndEndsOnTheChangePage) {
  RecordingWindow window;
  for (int service = 1; service <= 9; ++service) {
    window.texts[names::ResultBox(service).str()] = "http://s.example/x";
  }
  window.tags[names::ServiceToggle(2).str()] = "1";
  ClearAll(window);
  const std::vector<std::string> expected = {"navigate http://velmo.example/bbs/?wzzh",
                                             "write 编辑框_短址5",
                                             "write 编辑框_短址2",
                                             "write 编辑框_短址3",
                                             "write 编辑框_短址4",
                                             "write 编辑框_短址6",
                                             "write 编辑框_短址9",
                                             "write 编辑框_短址1",
                                             "write 编辑框_短址7",
                                             "write 编辑框_短址8",
                                             "write 编辑框_URL",
                                             "navigate http://ads2.velmo.example/?wzzh"};
  EXPECT_EQ(window.log, expected);
  for (int service = 1; service <= 9; ++service) {
    EXPECT_TRUE(window.texts[names::ResultBox(service).str()].empty()) << service;
  }
  EXPECT_EQ(window.tags[names::ServiceToggle(2).str()], Text("1")) << "toggles are kept";
}

TEST(WindowEventsTest, AdvertsLinksMinimiseAndClose) {
  RecordingWindow window;
  window.texts[names::AdvertOnChange().str()] = "";
  OnAddressTextChanged(window);
  ShowAdvert(window, names::AdvertOnConvert());
  OpenMakerSite(window);
  OpenForumPage(window);
  MinimiseWindow(window);
  CloseMainWindow(window);
  const std::vector<std::string> expected = {
      "navigate ",  // an empty holder box is handed on unchanged
      "navigate http://ads.velmo.example/?wzzh",
      "open http://velmo.example",
      "open http://bbs.velmo.example/",
      "minimise",
      "close"};
  EXPECT_EQ(window.log, expected);
}

}  // namespace
}  // namespace velmo::ui
