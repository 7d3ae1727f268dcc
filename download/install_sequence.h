#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/process.h"

class IDownloader;
class ILoggerServer;

// Where and how the package's setup runs.
struct SetupTarget {
  std::wstring folder;   // the install folder
  bool joinPlan = true;  // false adds "-noexperience " to the setup's switches
  bool install = true;   // false: stop at the verified package (kReady)
};

// What one tick of the sequence found.
enum class SequenceStep {
  kIdle,            // no attempt runs: not started, or ended
  kDownloading,     // the download runs
  kDownloadFailed,  // the download ended in state 3 or 5, or the ready package no longer has its digest
  kReady,           // the package is verified and target.install is false; the attempt has ended
  kInstalling,      // the setup runs (or was just launched)
  kInstalled,       // the setup exited with code 0
  kInstallFailed,   // the setup exited with another code, or could not be started
};

// The download-then-install sequence that the progress page and the
// windowless driver share: the orchestrator is polled, a verified package's
// setup is started silently into the folder and followed until it exits.
// Tick reports each step once and writes its events:
//  - a failed download: "pSoftDownloadResult" "下载失败" / -1;
//  - the setup started: "vSoftInstallStart";
//  - the setup failed: "vSoftInstallError" with "error_status" = its exit
//    code, or, when it could not be started at all, the system's error code.
// After kInstalled, kInstallFailed, kDownloadFailed or kReady the attempt has
// ended and later ticks report kIdle until the next Start. Not thread-safe:
// the caller serialises Start, Tick, Stop and Percent.
class CInstallSequence {
 public:
  // Takes ownership of the downloader (released on destruction).
  CInstallSequence(IDownloader* downloader, ILoggerServer& logger);
  ~CInstallSequence();
  CInstallSequence(const CInstallSequence&) = delete;
  CInstallSequence& operator=(const CInstallSequence&) = delete;

  // Starts an attempt (or resumes the download); false when the downloader
  // refuses, which the caller counts as a failed download.
  bool Start();
  // The poll, every 50 ms.
  SequenceStep Tick(const SetupTarget& target);
  // Ends the attempt: waits for a running setup to exit. The package is let
  // go once its setup has succeeded, or with the orchestrator.
  void Stop();
  // The one progress figure of both phases: the download fills 0 to 80, the
  // setup creeps from 80 by one per second to at most 99, an installed
  // package shows 100.
  int Percent() const;

  IDownloader& Downloader() { return *downloader_; }
  // The last command line started, and the "error_status" of the last failed
  // setup, for the driver's log.
  const std::wstring& CommandLine() const { return commandLine_; }
  const std::string& InstallError() const { return installError_; }

 private:
  enum class Phase { kIdle, kDownloading, kInstalling, kInstalled };

  SequenceStep Launch(const SetupTarget& target);
  SequenceStep SetupEnded();
  SequenceStep InstallFailed(const std::string& status);
  void EndSetup();

  struct DownloaderRelease {
    void operator()(IDownloader* downloader) const;
  };
  std::unique_ptr<IDownloader, DownloaderRelease> downloader_;
  ILoggerServer& logger_;
  Phase phase_ = Phase::kIdle;
  std::unique_ptr<CCorvixBasedProcess> setup_;
  DWORD setupStart_ = 0;  // GetTickCount when the setup was started
  std::wstring commandLine_;
  std::string installError_;
};
