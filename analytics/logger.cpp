#include "analytics/logger.h"

#include <windows.h>

#include <ctime>
#include <stdexcept>

#include "analytics/events.h"
#include "analytics/logger_server.h"
#include "platform/text.h"

int32_t CLoggerServer::eventCounter_ = 0;

int32_t EventIdFor(int64_t now, int32_t counter) {
  return static_cast<int32_t>((now % 10000000) * 100 + counter % 100);
}

CLoggerServer::CLoggerServer(const SdkSource& source) {
  try {
    Load(source);
  } catch (...) {
    // Loading failed: the logger stays inert and the installer runs on.
  }
}

CLoggerServer::~CLoggerServer() { Release(); }

void CLoggerServer::Load(const SdkSource& source) {
  library_ = LoadSdkLibrary(source, &libraryPath_);
  core_.reset(new CoreTable(ResolveCore(library_)));
  if (!Configure()) {
    core_.reset();
    return;
  }
  CollectorTable collector;
  if (ResolveCollector(library_, &collector)) collector_.reset(new CollectorTable(collector));
  data_.reset(new DataTable(ResolveData(library_)));
}

bool CLoggerServer::Configure() {
  try {
    ConfigureCore(*core_, &CLoggerServer::OnCrash, this);
    return true;
  } catch (...) {
    // A handle that was made before the sequence failed is given back.
    if (core_->handle && core_->free) core_->free(core_->handle);
    core_->handle = nullptr;
    return false;
  }
}

bool CLoggerServer::Usable() const { return collector_ && core_ && core_->handle; }

CLoggerServer::PropertySet& CLoggerServer::ThreadProperties() {
  std::lock_guard<std::mutex> hold(propertiesLock_);
  return properties_[GetCurrentThreadId()];
}

void CLoggerServer::ClearProperties() { ThreadProperties() = PropertySet(); }
void CLoggerServer::SetIntProperty(const std::string& key, int64_t value) {
  ThreadProperties().ints.emplace(key, value);
}
void CLoggerServer::SetBoolProperty(const std::string& key, bool value) {
  ThreadProperties().bools.emplace(key, value);
}
void CLoggerServer::SetStringProperty(const std::string& key, const std::string& utf8) {
  ThreadProperties().strings.emplace(key, utf8);
}

bool CLoggerServer::WriteRecord(int type, const std::vector<Field>& fields, const std::string& eventName) {
  CXMutexGuard hold(lock_);
  bool written = false;
  try {
    void* record = nullptr;
    if (Usable() && collector_->create(core_->handle, type, &record) == 0) {
      for (const Field& f : fields) {
        if (f.isInt)
          collector_->writeInt(record, f.id, f.number);
        else
          collector_->writeData(record, f.id, f.text.data(), static_cast<int>(f.text.size()));
      }
      if (!eventName.empty()) {
        int32_t id = EventIdFor(static_cast<int64_t>(std::time(nullptr)), eventCounter_++);
        collector_->writeEvent(record, eventName.c_str(), id);
        const PropertySet properties = ThreadProperties();
        for (const auto& p : properties.ints) collector_->writeIntProperty(record, p.first.c_str(), p.second);
        for (const auto& p : properties.bools) collector_->writeBoolProperty(record, p.first.c_str(), p.second);
        for (const auto& p : properties.strings)
          collector_->writeStringProperty(record, p.first.c_str(), p.second.c_str());
      }
      collector_->commit(record);
      collector_->free(record);
      written = true;
    }
  } catch (...) {
  }
  return written;
}

bool CLoggerServer::WriteActionRecord(const std::string& page, const std::string& action, const std::string& extra) {
  std::vector<Field> fields;
  int id = 10;
  for (const std::string* text : {&page, &action, &extra}) {
    if (!text->empty()) fields.push_back({id, false, 0, *text});
    ++id;
  }
  return WriteRecord(2, fields, "");
}

bool CLoggerServer::WriteReportRecord(int32_t kind, const std::string& a, const std::string& b, const std::string& c,
                                      const std::string& d, const std::vector<std::string>& files) {
  std::vector<Field> fields{{50, true, kind, ""}};
  int id = 51;
  for (const std::string* text : {&a, &b, &c, &d}) {
    if (!text->empty()) fields.push_back({id, false, 0, *text});
    ++id;
  }
  for (const std::string& path : files) {
    if (path.empty()) continue;
    DWORD attributes = GetFileAttributesW(AnsiToWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      fields.push_back({55, false, 0, path});
  }
  return WriteRecord(4, fields, "");
}

bool CLoggerServer::WriteEvent(const std::string& name) { return WriteRecord(6, {}, name); }

bool CLoggerServer::WriteLaunchRecord(int32_t kind, const std::string& a, const std::string& b, const std::string& c) {
  std::vector<Field> fields{{1, true, kind, ""}};
  int id = 2;
  for (const std::string* text : {&a, &b, &c}) {
    if (!text->empty()) fields.push_back({id, false, 0, *text});
    ++id;
  }
  return WriteRecord(1, fields, "");
}

std::string CLoggerServer::DataCall(bool seal, const std::string& path, const std::string& data) {
  CXMutexGuard hold(lock_);
  std::string result;
  try {
    if (data_ && (seal ? data_->buildHttpData != nullptr : data_->decryptData != nullptr)) {
      int size = 0;
      char* out =
          seal ? data_->buildHttpData(path.c_str(), data.data(), static_cast<int>(data.size()), &size, 0, "/v1.1")
               : data_->decryptData(data.data(), static_cast<int>(data.size()), &size);
      if (out && size > 0) result.assign(out, static_cast<size_t>(size));
      if (out && data_->dataFree) data_->dataFree(out);
    }
  } catch (...) {
    result.clear();
  }
  return result;
}

std::string CLoggerServer::SealData(const std::string& path, const std::string& data) {
  return DataCall(true, path, data);
}

std::string CLoggerServer::UnsealData(const std::string& data) { return DataCall(false, "", data); }

std::string CLoggerServer::GetMachineId() {
  CXMutexGuard hold(lock_);
  const char* id = data_ && data_->mid ? data_->mid() : nullptr;
  return id ? id : "";
}

std::string CLoggerServer::GetMachineIdEx(int32_t kind) {
  CXMutexGuard hold(lock_);
  const char* id = data_ && data_->midEx ? data_->midEx(kind) : nullptr;
  return id ? id : "";
}

bool CLoggerServer::Release() {
  CXMutexGuard hold(lock_);
  if (core_ && core_->handle && core_->free) core_->free(core_->handle);
  if (core_) core_->handle = nullptr;
  return true;
}

bool CLoggerServer::OpenUrl(const std::string& url) {
  if (!data_ || !data_->openUrl || url.empty()) return false;
  data_->openUrl(url.c_str());
  return true;
}

void __stdcall CLoggerServer::OnCrash(void* context, const wchar_t* dumpPath) {
  auto* logger = static_cast<CLoggerServer*>(context);
  std::vector<std::string> dump;
  if (dumpPath && *dumpPath) dump.push_back(WideToAnsi(dumpPath));
  logger->WriteReportRecord(record::kReportDump, record::kReportGroup, record::kReportStart, "", "", dump);
  logger->WriteReportRecord(record::kReportStartQuit, record::kReportGroup, record::kReportQuit, "", "", {});
  logger->ClearProperties();
  logger->WriteEvent(event::kSoftDump);
  logger->ClearProperties();
  logger->SetStringProperty(prop::kEventName, value::kQuitCrash);
  logger->WriteEvent(event::kSoftQuit);
}

namespace {

struct LoggerFolders {
  std::wstring work;
  std::wstring sdk;
};

LoggerFolders& Folders() {
  static LoggerFolders folders;
  return folders;
}

}  // namespace

void SetLoggerFolders(const std::wstring& workFolder, const std::wstring& sdkFolder) {
  Folders() = {workFolder, sdkFolder};
}

const std::wstring& GetSdkFolder() { return Folders().sdk; }

ILoggerServer* GetLogger() {
  static CLoggerServer logger(InstallerSdkSource(Folders().work, Folders().sdk));
  return &logger;
}
