#include "analytics/logger.h"

namespace {

// Stands in until the SDK loader exists: behaves as a logger whose SDK could
// not be loaded.
class InertLogger : public ILoggerServer {
 public:
  bool WriteActionRecord(const std::string&, const std::string&, const std::string&) override { return false; }
  bool WriteReportRecord(int32_t, const std::string&, const std::string&, const std::string&, const std::string&,
                         const std::vector<std::string>&) override {
    return false;
  }
  bool WriteEvent(const std::string&) override { return false; }
  void ClearProperties() override {}
  void SetIntProperty(const std::string&, int64_t) override {}
  void SetBoolProperty(const std::string&, bool) override {}
  void SetStringProperty(const std::string&, const std::string&) override {}
  bool WriteLaunchRecord(int32_t, const std::string&, const std::string&, const std::string&) override { return false; }
  std::string SealData(const std::string&, const std::string&) override { return std::string(); }
  std::string UnsealData(const std::string&) override { return std::string(); }
  std::string GetMachineId() override { return std::string(); }
  std::string GetMachineIdEx(int32_t) override { return std::string(); }
  bool Reinitialize() override { return false; }
  bool Release() override { return true; }
  bool OpenUrl(const std::string&) override { return false; }
  int32_t CallExtension(const std::string&, const std::string&, int32_t, int32_t, int32_t) override { return 0; }
};

}  // namespace

ILoggerServer* GetLogger() {
  static InertLogger logger;
  return &logger;
}
