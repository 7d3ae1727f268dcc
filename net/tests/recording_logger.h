#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "analytics/logger.h"

// A logger that keeps the events written to it.
class RecordingLogger : public ILoggerServer {
 public:
  struct Event {
    std::string name;
    std::map<std::string, std::string> strings;
    std::map<std::string, int64_t> ints;
  };

  // The events named name written so far.
  std::vector<Event> Events(const std::string& name);
  void Clear();

  bool WriteEvent(const std::string& name) override;
  void ClearProperties() override;
  void SetIntProperty(const std::string& key, int64_t value) override;
  void SetBoolProperty(const std::string& key, bool value) override;
  void SetStringProperty(const std::string& key, const std::string& utf8) override;

  bool WriteActionRecord(const std::string&, const std::string&, const std::string&) override { return true; }
  bool WriteReportRecord(int32_t, const std::string&, const std::string&, const std::string&, const std::string&,
                         const std::vector<std::string>&) override {
    return true;
  }
  bool WriteLaunchRecord(int32_t, const std::string&, const std::string&, const std::string&) override { return true; }
  std::string SealData(const std::string&, const std::string&) override { return std::string(); }
  std::string UnsealData(const std::string&) override { return std::string(); }
  std::string GetMachineId() override { return std::string(); }
  std::string GetMachineIdEx(int32_t) override { return std::string(); }
  bool Release() override { return true; }
  bool OpenUrl(const std::string&) override { return true; }

 private:
  std::mutex mutex_;
  Event pending_;
  std::vector<Event> events_;
};
