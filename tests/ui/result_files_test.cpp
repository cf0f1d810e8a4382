// The save button against a real temporary directory.
#include "ui/result_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/ui/recording_window.h"
#include "ui/program_files.h"
#include "ui/window_description.h"

namespace velmo::ui {
namespace {

namespace fs = std::filesystem;
using test::RecordingWindow;

class ResultFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "velmo-save-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
  }
  void TearDown() override { fs::remove_all(directory_); }

  fs::path File(int number) const {
    return directory_ / fs::u8path("生成网址" + std::to_string(number) + ".txt");
  }
  static std::string Content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path directory_;
};

TEST_F(ResultFilesTest, SixFilesHoldTheBoxesBytesInColumnOrderAndNothingElse) {
  RecordingWindow window;
  constexpr int kServiceOfFile[] = {5, 2, 3, 4, 6, 9};
  for (int service = 1; service <= 9; ++service) {
    window.texts[names::ResultBox(service).str()] =
        text::Text("http://s" + std::to_string(service) + ".example/ab");
  }
  // Code page 936 bytes go out as they are: 短 is B6 CC.
  window.texts[names::ResultBox(6).str()] = text::Text("http://s.example/\xB6\xCC");
  window.texts[names::ResultBox(9).str()] = text::Text();

  SaveResults(window, directory_.string());

  EXPECT_EQ(window.log.front(), "navigate http://ads2.velmo.example/?wzzh")
      << "the advert is reloaded before the first file";
  for (int file = 1; file <= 6; ++file) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(fs::exists(File(file)));
    EXPECT_EQ(Content(File(file)),
              window.texts[names::ResultBox(kServiceOfFile[file - 1]).str()].str());
  }
  EXPECT_EQ(Content(File(5)), "http://s.example/\xB6\xCC");
  EXPECT_EQ(fs::file_size(File(6)), 0u);
  EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 6)
      << "services 1, 7 and 8 are never written";
}

TEST_F(ResultFilesTest, ALongerOldFileIsTruncatedAndAnUnwritableOneIsSkipped) {
  {
    std::ofstream old(File(1), std::ios::binary);
    old << "an old result that is much longer than the new one";
  }
  // A directory in the way of file 3: it cannot be opened for writing.
  fs::create_directory(File(3));
  RecordingWindow window;
  for (int service = 1; service <= 9; ++service) {
    window.texts[names::ResultBox(service).str()] = text::Text("r" + std::to_string(service));
  }

  SaveResults(window, directory_.string());

  EXPECT_EQ(Content(File(1)), "r5");
  EXPECT_EQ(Content(File(2)), "r2");
  EXPECT_TRUE(fs::is_directory(File(3)));
  EXPECT_EQ(Content(File(4)), "r4");
  EXPECT_EQ(Content(File(5)), "r6");
  EXPECT_EQ(Content(File(6)), "r9");
  EXPECT_FALSE(WriteResultFile(directory_.string(), ResultFileTable()[2].file_name, "x"));
  EXPECT_FALSE(
      WriteResultFile((directory_ / "missing").string(), ResultFileTable()[0].file_name, "x"));
}

TEST(ProgramDirectoryTest, IsTheDirectoryOfTheRunningProgramWithoutATrailingSlash) {
  const fs::path self = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(ProgramDirectory(), self.parent_path().string());
  EXPECT_NE(ProgramDirectory().back(), '/');
}

}  // namespace
}  // namespace velmo::ui
