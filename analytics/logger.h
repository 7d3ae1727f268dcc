#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The one process-wide reporter of analytics events and user of the SDK's data
// services. An event is written as ClearProperties, the typed setters, then
// WriteEvent(name). When the SDK could not be loaded the logger is inert:
// every write returns false and every data call returns "".
class ILoggerServer {
 public:
  virtual ~ILoggerServer() = default;
  virtual bool WriteActionRecord(const std::string& page, const std::string& action, const std::string& extra) = 0;
  virtual bool WriteReportRecord(int32_t kind, const std::string& a, const std::string& b, const std::string& c,
                                 const std::string& d, const std::vector<std::string>& files) = 0;
  virtual bool WriteEvent(const std::string& name) = 0;
  virtual void ClearProperties() = 0;
  // Setters keep the first value of a key since the last ClearProperties.
  virtual void SetIntProperty(const std::string& key, int64_t value) = 0;
  virtual void SetBoolProperty(const std::string& key, bool value) = 0;
  virtual void SetStringProperty(const std::string& key, const std::string& utf8) = 0;
  virtual bool WriteLaunchRecord(int32_t kind, const std::string& a, const std::string& b, const std::string& c) = 0;
  // A complete sealed HTTP request for path carrying data; "" on failure.
  virtual std::string SealData(const std::string& path, const std::string& data) = 0;
  // Opens data sealed by the service; "" on failure.
  virtual std::string UnsealData(const std::string& data) = 0;
  virtual std::string GetMachineId() = 0;
  virtual std::string GetMachineIdEx(int32_t kind) = 0;
  virtual bool Release() = 0;
  virtual bool OpenUrl(const std::string& url) = 0;
};

// The process-wide logger, created (and the SDK loaded) on first use.
ILoggerServer* GetLogger();

// Where the process-wide logger puts the SDK: the run's work folder (which
// receives the archive) and the SDK folder (cache folder + "Qmx\"). The
// folders live above this layer; start-up hands them down before the first
// GetLogger, and without them the logger stays inert. Either may be "".
void SetLoggerFolders(const std::wstring& workFolder, const std::wstring& sdkFolder);
// The SDK folder handed down, "" before.
const std::wstring& GetSdkFolder();
