#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <cstdlib>
#include <ctime>

#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/core/Archiver.h"
#include "veltrane/core/CommandLine.h"
#include "veltrane/core/ZipExtract.h"

namespace veltrane {
namespace {

using testing::Bytes;
using ::testing::ElementsAre;

bool HaveCommand(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

int RunIn(const std::filesystem::path& folder, const std::string& command) {
  return std::system(("cd '" + folder.string() + "' && " + command + " >/dev/null 2>&1").c_str());
}

void SetModificationTime(const std::filesystem::path& path, time_t time) {
  const timespec times[2] = {{time, 0}, {time, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

time_t ModificationTime(const std::filesystem::path& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mtime;
}

// Writes an archive whose entries have the given names, each holding "x".
void WriteZip(const std::filesystem::path& path, const std::vector<std::string>& names) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(zip, nullptr);
  for (const auto& name : names) {
    zip_source_t* source = zip_source_buffer(zip, "x", 1, 0);
    ASSERT_GE(zip_file_add(zip, name.c_str(), source, 0), 0) << name;
  }
  ASSERT_EQ(zip_close(zip), 0);
}

class ArchiverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
  testing::TempFolder folder;
  Archiver archiver{folder.Path()};
};

TEST(CommandLineTest, QuotedArgumentsSurviveSplitting) {
  EXPECT_THAT(SplitCommandLine("u 0099.lmv.VTZ.zip 0099.lmv.VTZ"),
              ElementsAre("u", "0099.lmv.VTZ.zip", "0099.lmv.VTZ"));
  EXPECT_THAT(SplitCommandLine("  e   -aoa\t\"a b.zip\" "), ElementsAre("e", "-aoa", "a b.zip"));
  for (const std::string name : {"plain.wav", "with space.wav", "quote\".wav", "back\\slash", ""})
    EXPECT_THAT(SplitCommandLine("e " + QuoteArgument(name)), ElementsAre("e", name));
  EXPECT_EQ(QuoteArgument("0001.bmp.VTZ"), "0001.bmp.VTZ");
}

TEST(FlattenedEntryNameTest, KeepsBaseNamesAndRefusesEscapes) {
  EXPECT_EQ(FlattenedEntryName("a.wav"), "a.wav");
  EXPECT_EQ(FlattenedEntryName("sub/dir/a.wav"), "a.wav");
  EXPECT_EQ(FlattenedEntryName("sub\\a.wav"), "a.wav");
  EXPECT_EQ(FlattenedEntryName("sub/"), "");
  for (const char* hostile : {"../a.wav", "sub/../../a.wav", "/etc/passwd", "\\x.wav", "C:x.wav",
                              "sub/..", ".", "a\\..\\b"})
    EXPECT_EQ(FlattenedEntryName(hostile), std::nullopt) << hostile;
}

TEST_F(ArchiverTest, UpdateMakesAnArchiveThatUnzipAnd7zAccept) {
  const Bytes data = testing::RandomBytes(50000, 1);
  testing::WriteBytes(folder / "voice.wav", data);
  SetModificationTime(folder / "voice.wav", 1700000000);
  ASSERT_TRUE(archiver.Run("u voice.wav.zip voice.wav").Ok());
  if (!HaveCommand("unzip")) GTEST_SKIP() << "unzip is not installed";
  std::filesystem::create_directory(folder / "out");
  ASSERT_EQ(RunIn(folder / "out", "unzip ../voice.wav.zip"), 0);
  EXPECT_EQ(testing::ReadBytes(folder / "out/voice.wav"), data);
  EXPECT_EQ(ModificationTime(folder / "out/voice.wav"), 1700000000);
  if (HaveCommand("7z")) {
    EXPECT_EQ(RunIn(folder.Path(), "7z t voice.wav.zip"), 0);
  }
}

TEST_F(ArchiverTest, ArchivingTheSameFileAgainGivesTheSameBytes) {
  testing::WriteBytes(folder / "a b.VTZ", testing::RandomBytes(3000, 2));
  SetModificationTime(folder / "a b.VTZ", 1600000000);
  const std::string command = "u " + QuoteArgument("a b.VTZ.zip") + " " + QuoteArgument("a b.VTZ");
  ASSERT_TRUE(archiver.Run(command).Ok());
  const Bytes first = testing::ReadBytes(folder / "a b.VTZ.zip");
  std::filesystem::remove(folder / "a b.VTZ.zip");
  ASSERT_TRUE(archiver.Run(command).Ok());
  EXPECT_EQ(testing::ReadBytes(folder / "a b.VTZ.zip"), first);
}

TEST_F(ArchiverTest, UpdateReplacesTheEntryAndExtractOverwrites) {
  testing::WriteBytes(folder / "p.VTZ", {1, 2, 3});
  ASSERT_TRUE(archiver.Run("u p.zip p.VTZ").Ok());
  testing::WriteBytes(folder / "p.VTZ", {4, 5});
  SetModificationTime(folder / "p.VTZ", 1500000000);
  ASSERT_TRUE(archiver.Run("u p.zip p.VTZ").Ok());
  testing::WriteBytes(folder / "p.VTZ", {9, 9, 9, 9});
  ASSERT_TRUE(archiver.Run("e -aoa p.zip").Ok());
  EXPECT_EQ(testing::ReadBytes(folder / "p.VTZ"), (Bytes{4, 5}));
  EXPECT_EQ(ModificationTime(folder / "p.VTZ"), 1500000000);
  EXPECT_THAT(testing::FolderNames(folder.Path()), ElementsAre("p.VTZ", "p.zip"));
}

TEST_F(ArchiverTest, ExtractsZipMadeArchivesWithoutTheirFolders) {
  if (!HaveCommand("zip")) GTEST_SKIP() << "zip is not installed";
  std::filesystem::create_directories(folder / "src/sub");
  testing::WriteBytes(folder / "src/sub/inner.wav", {7, 7});
  testing::WriteBytes(folder / "src/top.VTZ", {8});
  ASSERT_EQ(RunIn(folder / "src", "zip -r ../made.zip sub top.VTZ"), 0);
  ASSERT_TRUE(archiver.Run("e -aoa made.zip").Ok());
  EXPECT_EQ(testing::ReadBytes(folder / "inner.wav"), (Bytes{7, 7}));
  EXPECT_EQ(testing::ReadBytes(folder / "top.VTZ"), (Bytes{8}));
  EXPECT_FALSE(std::filesystem::exists(folder / "sub"));
}

TEST_F(ArchiverTest, EntriesPointingOutsideAreRefusedAndTheRestExtracted) {
  std::filesystem::create_directory(folder / "work");
  WriteZip(folder / "work/h.zip", {"../escaped.txt", "/tmp/absolute-veltrane.txt", "fine.txt"});
  const ArchiverResult result = Archiver(folder / "work").Run("e -aoa h.zip");
  ASSERT_TRUE(result.Ok());
  EXPECT_THAT(result.refusedNames, ElementsAre("../escaped.txt", "/tmp/absolute-veltrane.txt"));
  EXPECT_THAT(testing::FolderNames(folder / "work"), ElementsAre("fine.txt", "h.zip"));
  EXPECT_FALSE(std::filesystem::exists(folder / "escaped.txt"));
}

// Entries in different folders of the archive share a name once the folders are
// dropped: the first is extracted, the later ones are reported instead of written over it.
TEST_F(ArchiverTest, EntriesThatFlattenToOneNameKeepTheFirstAndReportTheRest) {
  int error = 0;
  zip_t* zip = zip_open((folder / "d.zip").c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(zip, nullptr);
  for (const char* name : {"a/0001.bmp", "b/0001.bmp", "0001.bmp"}) {
    zip_source_t* source = zip_source_buffer(zip, name, 1, 0);  // first byte: 'a', 'b', '0'
    ASSERT_GE(zip_file_add(zip, name, source, 0), 0) << name;
  }
  ASSERT_EQ(zip_close(zip), 0);
  const ArchiverResult result = archiver.Run("e -aoa d.zip");
  ASSERT_TRUE(result.Ok());
  EXPECT_THAT(result.duplicateNames, ElementsAre("b/0001.bmp", "0001.bmp"));
  EXPECT_EQ(testing::ReadBytes(folder / "0001.bmp"), (Bytes{'a'}));
}

TEST_F(ArchiverTest, FailuresAreReportedWithANonZeroCode) {
  EXPECT_EQ(archiver.Run("x a b").code, kArchiverBadCommand);
  EXPECT_EQ(archiver.Run("u a.zip").code, kArchiverBadCommand);
  EXPECT_EQ(archiver.Run("u a.zip missing.wav").code, kArchiverError);
  EXPECT_FALSE(std::filesystem::exists(folder / "a.zip"));
  testing::WriteBytes(folder / "bad.zip", testing::RandomBytes(500, 3));
  EXPECT_EQ(archiver.Run("e -aoa bad.zip").code, kArchiverError);
  EXPECT_EQ(archiver.Run("e -aoa none.zip").code, kArchiverError);
  char output[8];
  archiver.Run("e -aoa none.zip", output);
  EXPECT_EQ(std::string(output).size(), 7u);
}

}  // namespace
}  // namespace veltrane
