#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "analytics/logger.h"
#include "analytics/sdk_library.h"
#include "platform/xmutex.h"

// The event id of an event written at `now` (seconds since 1970) as the
// counter-th event of the process: (now mod 10,000,000) * 100 + counter mod 100.
int32_t EventIdFor(int64_t now, int32_t counter);

// The logger over Qmx.dll. Construction loads the SDK from the source and
// never throws; after any loading failure the logger is inert.
class CLoggerServer : public ILoggerServer {
 public:
  explicit CLoggerServer(const SdkSource& source);
  // Lets the SDK deliver what is still queued (bounded) if not released.
  ~CLoggerServer() override;
  CLoggerServer(const CLoggerServer&) = delete;
  CLoggerServer& operator=(const CLoggerServer&) = delete;

  bool WriteActionRecord(const std::string& page, const std::string& action, const std::string& extra) override;
  bool WriteReportRecord(int32_t kind, const std::string& a, const std::string& b, const std::string& c,
                         const std::string& d, const std::vector<std::string>& files) override;
  bool WriteEvent(const std::string& name) override;
  void ClearProperties() override;
  void SetIntProperty(const std::string& key, int64_t value) override;
  void SetBoolProperty(const std::string& key, bool value) override;
  void SetStringProperty(const std::string& key, const std::string& utf8) override;
  bool WriteLaunchRecord(int32_t kind, const std::string& a, const std::string& b, const std::string& c) override;
  std::string SealData(const std::string& path, const std::string& data) override;
  std::string UnsealData(const std::string& data) override;
  std::string GetMachineId() override;
  std::string GetMachineIdEx(int32_t kind) override;
  bool Release() override;
  bool OpenUrl(const std::string& url) override;

 private:
  // The properties of the event being built. Each thread builds its own, so
  // events written on different threads never mix their properties.
  struct PropertySet {
    std::map<std::string, int64_t> ints;
    std::map<std::string, bool> bools;
    std::map<std::string, std::string> strings;
  };
  struct Field {
    int id;
    bool isInt;
    int32_t number;
    std::string text;
  };

  void Load(const SdkSource& source);
  bool Configure();
  PropertySet& ThreadProperties();
  bool Usable() const;
  // One record of the given type with the given fields; the event, when
  // named, with the properties of the calling thread.
  bool WriteRecord(int type, const std::vector<Field>& fields, const std::string& eventName);
  std::string DataCall(bool seal, const std::string& path, const std::string& data);
  static void __stdcall OnCrash(void* context, const wchar_t* dumpPath);

  std::wstring libraryPath_;
  CXMutex lock_;
  HMODULE library_ = nullptr;
  std::unique_ptr<CoreTable> core_;
  std::unique_ptr<CollectorTable> collector_;
  std::unique_ptr<DataTable> data_;
  void* extension_ = nullptr;  // never loaded
  std::mutex propertiesLock_;
  std::map<unsigned long, PropertySet> properties_;
  static int32_t eventCounter_;
};
