#include "download/install_sequence.h"

#include <algorithm>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "download/downloader.h"
#include "download/setup_command.h"
#include "platform/text.h"

namespace {

constexpr int kDownloadShare = 80;    // the download fills 0 to 80
constexpr unsigned kSetupCreep = 19;  // then one per second of setup, to 99

}  // namespace

void CInstallSequence::DownloaderRelease::operator()(IDownloader* downloader) const { downloader->Release(); }

CInstallSequence::CInstallSequence(IDownloader* downloader, ILoggerServer& logger)
    : downloader_(downloader), logger_(logger) {}

CInstallSequence::~CInstallSequence() { Stop(); }

bool CInstallSequence::Start() {
  Stop();
  if (!downloader_->Start()) return false;
  phase_ = Phase::kDownloading;
  return true;
}

void CInstallSequence::Stop() {
  EndSetup();
  if (phase_ != Phase::kInstalled) phase_ = Phase::kIdle;
}

void CInstallSequence::EndSetup() {
  // Waits for a setup that still runs. The package stays held: a retry after
  // a failed setup starts it again.
  setup_.reset();
}

SequenceStep CInstallSequence::Tick(const SetupTarget& target) {
  switch (phase_) {
    case Phase::kIdle:
    case Phase::kInstalled: return SequenceStep::kIdle;
    case Phase::kInstalling: return setup_->IsRunning() ? SequenceStep::kInstalling : SetupEnded();
    case Phase::kDownloading: break;
  }
  const int32_t state = downloader_->GetState();
  if (state == 3 || state == 5) {
    ReportFailedDownload(&logger_);
    phase_ = Phase::kIdle;
    return SequenceStep::kDownloadFailed;
  }
  if (state != 4) return SequenceStep::kDownloading;
  // The package runs elevated: what starts must be what was checked.
  if (!downloader_->CheckPackageBeforeLaunch()) {
    ReportFailedDownload(&logger_);
    phase_ = Phase::kIdle;
    return SequenceStep::kDownloadFailed;
  }
  if (!target.install) {
    phase_ = Phase::kIdle;
    return SequenceStep::kReady;
  }
  return Launch(target);
}

SequenceStep CInstallSequence::Launch(const SetupTarget& target) {
  commandLine_ = SilentSetupCommand(downloader_->GetFilePath(), target.folder, target.joinPlan);
  setup_.reset(new CCorvixBasedProcess(commandLine_));
  if (!setup_->Launch()) {
    // Nothing started: an install failure with the system's reason.
    const DWORD error = setup_->LaunchError();
    EndSetup();
    return InstallFailed(Int64ToString(error));
  }
  logger_.ClearProperties();
  logger_.WriteEvent(event::kSoftInstallStart);
  setupStart_ = GetTickCount();
  phase_ = Phase::kInstalling;
  return SequenceStep::kInstalling;
}

SequenceStep CInstallSequence::SetupEnded() {
  DWORD code = 0;
  const bool known = GetExitCodeProcess(setup_->ProcessHandle(), &code) != 0;
  const DWORD error = known ? 0 : GetLastError();
  EndSetup();
  if (known && code == 0) {
    downloader_->ReleasePackage();
    phase_ = Phase::kInstalled;
    return SequenceStep::kInstalled;
  }
  return InstallFailed(Int64ToString(known ? code : error));
}

SequenceStep CInstallSequence::InstallFailed(const std::string& status) {
  installError_ = status;
  logger_.ClearProperties();
  logger_.SetStringProperty(prop::kErrorStatus, status);
  logger_.WriteEvent(event::kSoftInstallError);
  phase_ = Phase::kIdle;
  return SequenceStep::kInstallFailed;
}

int CInstallSequence::Percent() const {
  switch (phase_) {
    case Phase::kInstalled: return 100;
    case Phase::kInstalling: {
      const unsigned seconds = (GetTickCount() - setupStart_) / 1000;
      return kDownloadShare + static_cast<int>(std::min(seconds, kSetupCreep));
    }
    default: return kDownloadShare * downloader_->GetPercent() / 100;
  }
}
