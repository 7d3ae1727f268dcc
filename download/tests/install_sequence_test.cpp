// The download-then-install sequence over a stand-in orchestrator and a
// stand-in setup program: what each tick reports, the events, the command
// line the setup receives, the progress figure.
#include "download/install_sequence.h"

#include <gtest/gtest.h>

#include "download/downloader.h"
#include "download/setup_command.h"
#include "net/tests/recording_logger.h"
#include "platform/tests/temp_folder.h"

namespace {

using testing_files::OwnFolder;
using testing_files::ReadFileBytes;
using testing_files::TempFolder;

// An orchestrator whose state, percent and package a test sets.
class StubDownloader : public IDownloader {
 public:
  bool Start() override { return startable; }
  int32_t GetPercent() override { return percent; }
  int32_t GetState() override { return state; }
  void Release() override { delete this; }
  std::wstring GetFilePath() override { return package; }
  std::string GetCurrentUrl() override { return std::string(); }
  // As the orchestrator: a package let go is no longer vouched for.
  bool CheckPackageBeforeLaunch() override { return intact && released == 0; }
  void ReleasePackage() override { ++released; }

  bool startable = true;
  int32_t percent = 0;
  int32_t state = 1;
  std::wstring package;
  bool intact = true;
  int released = 0;
};

class Sequence : public ::testing::Test {
 protected:
  // The stand-in setup under a name that makes it exit with `code`.
  std::wstring Setup(int code) {
    const std::wstring path = folder.Path() + L"setup_exit" + std::to_wstring(code) + L".exe";
    CopyFileW((OwnFolder() + L"setup_stub.exe").c_str(), path.c_str(), FALSE);
    return path;
  }
  // Ticks until the step is no longer `step` (a bound only against a hang).
  SequenceStep TickPast(CInstallSequence& sequence, SequenceStep step, const SetupTarget& target) {
    SequenceStep now = step;
    for (int i = 0; i < 600 && now == step; ++i) {
      Sleep(50);
      now = sequence.Tick(target);
    }
    return now;
  }

  TempFolder folder;
  RecordingLogger logger;
  StubDownloader* downloader = new StubDownloader;
  CInstallSequence sequence{downloader, logger};
};

TEST(SetupFolder, NeverEndsInASeparatorAndARootStaysTheRoot) {
  const struct {
    const wchar_t* given;
    const wchar_t* passed;
  } cases[] = {
      {L"D:\\Apps\\", L"D:\\Apps"},
      {L"D:\\Apps\\\\/", L"D:\\Apps"},
      {L"D:\\Apps", L"D:\\Apps"},
      {L"D:\\", L"D:\\."},
      {L"D:", L"D:\\."},
      {L"\\\\host\\share\\", L"\\\\host\\share"},
      {L"\\", L"\\."},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(SetupFolder(c.given), c.passed) << "given " << testing::PrintToString(c.given);
  EXPECT_EQ(SilentSetupCommand(L"C:\\p.exe", L"D:\\Apps\\", false),
            L"\"C:\\p.exe\" /SILENT /VERYSILENT /SP- /noicons -noexperience -nowelcome /DIR=\"D:\\Apps\"");
}

TEST_F(Sequence, AFailedDownloadIsReportedOnceAndTheAttemptEnds) {
  for (int32_t state : {3, 5}) {
    logger.Clear();
    ASSERT_TRUE(sequence.Start());
    downloader->state = state;
    EXPECT_EQ(sequence.Tick({}), SequenceStep::kDownloadFailed);
    EXPECT_EQ(sequence.Tick({}), SequenceStep::kIdle);
    const auto results = logger.Events("pSoftDownloadResult");
    ASSERT_EQ(results.size(), 1u) << "state " << state;
    EXPECT_EQ(results[0].strings.at("soft_download_status"), "下载失败");
    EXPECT_EQ(results[0].ints.at("download_time"), -1);
  }
  downloader->startable = false;
  EXPECT_FALSE(sequence.Start());
}

TEST_F(Sequence, TheDownloadFillsFourFifthsOfTheFigure) {
  ASSERT_TRUE(sequence.Start());
  for (int32_t percent : {0, 50, 99, 100}) {
    downloader->percent = percent;
    EXPECT_EQ(sequence.Tick({}), SequenceStep::kDownloading);
    EXPECT_EQ(sequence.Percent(), percent * 4 / 5);
  }
}

TEST_F(Sequence, TheSetupGetsTheFolderWithoutItsTrailingBackslashAndARetryRunsItAgain) {
  const struct {
    int code;
    bool joinPlan;
    SequenceStep end;
  } cases[] = {{5, false, SequenceStep::kInstallFailed}, {0, true, SequenceStep::kInstalled}};
  for (const auto& c : cases) {
    logger.Clear();
    downloader->package = Setup(c.code);
    downloader->state = 4;
    ASSERT_TRUE(sequence.Start());
    const SetupTarget target{folder.Path() + L"Velora\\", c.joinPlan};
    EXPECT_EQ(sequence.Tick(target), SequenceStep::kInstalling);
    EXPECT_GE(sequence.Percent(), 80);
    EXPECT_EQ(TickPast(sequence, SequenceStep::kInstalling, target), c.end) << "exit " << c.code;
    EXPECT_EQ(sequence.Tick(target), SequenceStep::kIdle);
    EXPECT_EQ(logger.Events("vSoftInstallStart").size(), 1u);
    const std::string recorded = ReadFileBytes(downloader->package + L".cmdline");
    const std::wstring line(reinterpret_cast<const wchar_t*>(recorded.data()), recorded.size() / sizeof(wchar_t));
    EXPECT_NE(line.find(L"-nowelcome /DIR=\"" + folder.Path() + L"Velora\""), std::wstring::npos);
    EXPECT_EQ(line.find(L"-noexperience") != std::wstring::npos, !c.joinPlan);
    const auto errors = logger.Events("vSoftInstallError");
    if (c.code == 0) {
      EXPECT_TRUE(errors.empty());
      EXPECT_EQ(sequence.Percent(), 100);
    } else {
      ASSERT_EQ(errors.size(), 1u);
      EXPECT_EQ(errors[0].strings.at("error_status"), "5");
    }
  }
  EXPECT_EQ(downloader->released, 1) << "held for the retry after the failure, let go after the success";
}

TEST_F(Sequence, ASetupThatCannotStartIsAnInstallFailureWithTheSystemsCode) {
  downloader->package = folder.Path() + L"missing.exe";
  downloader->state = 4;
  ASSERT_TRUE(sequence.Start());
  EXPECT_EQ(sequence.Tick({folder.Path()}), SequenceStep::kInstallFailed);
  EXPECT_EQ(sequence.Tick({folder.Path()}), SequenceStep::kIdle);
  EXPECT_TRUE(logger.Events("vSoftInstallStart").empty());
  const auto errors = logger.Events("vSoftInstallError");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].strings.at("error_status"), std::to_string(ERROR_FILE_NOT_FOUND));
}

TEST_F(Sequence, AChangedPackageIsNotStartedAndAReadyOneCanStopThere) {
  downloader->package = Setup(0);
  downloader->state = 4;
  downloader->intact = false;
  ASSERT_TRUE(sequence.Start());
  EXPECT_EQ(sequence.Tick({folder.Path()}), SequenceStep::kDownloadFailed);
  EXPECT_TRUE(logger.Events("vSoftInstallStart").empty());
  EXPECT_EQ(logger.Events("pSoftDownloadResult").size(), 1u);
  downloader->intact = true;
  ASSERT_TRUE(sequence.Start());
  EXPECT_EQ(sequence.Tick({folder.Path(), true, false}), SequenceStep::kReady);
  EXPECT_TRUE(logger.Events("vSoftInstallStart").empty());
}

}  // namespace
