#include "analytics/sdk_library.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "common/product.h"
#include "platform/archive.h"
#include "platform/digest.h"
#include "platform/file_system.h"
#include "platform/handle.h"
#include "qmx_digest.h"
#include "velora_profile.h"

namespace {

constexpr int kSdkResourceId = 105;
constexpr char kAppName[] = "win_installer";
constexpr int kAnalyticsPort = 80;
constexpr char kSensorPath[] = "/sa?project=production";

template <typename F>
F Export(HMODULE library, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

template <typename F>
void Require(HMODULE library, const char* name, F* slot, const std::string& failure) {
  *slot = Export<F>(library, name);
  if (!*slot) throw std::runtime_error(failure);
}

template <typename F>
void RequireNamed(HMODULE library, const char* name, F* slot) {
  Require(library, name, slot, std::string("Get ") + name + " address failed");
}

void SaveResource(HMODULE module, const std::wstring& archive) {
  if (!module) throw std::runtime_error("Get module handle failed");
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kSdkResourceId), L"BinarySystem");
  if (!found) throw std::runtime_error("QMX not found resource");
  DWORD size = SizeofResource(module, found);
  if (size == 0) throw std::runtime_error("QMX resource is empty");
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) throw std::runtime_error("Load QMX resource failed");
  if (FILE* out = _wfopen(archive.c_str(), L"wb")) {
    fwrite(bytes, 1, size, out);
    fclose(out);
  }
  if (GetFileAttributesW(archive.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw std::runtime_error("Save QMX resource failed");
}

// The file's bytes through a handle that lets nobody write, rename or delete
// the file while it is open.
std::string ReadLocked(const UniqueHandle& file) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > (64 << 20)) return std::string();
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
    return std::string();
  return bytes;
}

}  // namespace

SdkSource InstallerSdkSource(const std::wstring& workFolder, const std::wstring& sdkFolder) {
  SdkSource source;
  source.module = GetModuleHandleW(nullptr);
  source.workFolder = workFolder;
  source.sdkFolder = sdkFolder;
  source.expectedMd5 = kQmxDllMd5;
  return source;
}

HMODULE LoadSdkLibrary(const SdkSource& source, std::wstring* libraryPath) {
  // Without a work folder of its own the run has nowhere safe to put the archive.
  if (source.workFolder.empty()) throw std::runtime_error("Save QMX resource failed");
  const std::wstring archive = source.workFolder + L"Qmx.zip";
  SaveResource(source.module, archive);
  if (source.sdkFolder.empty() || (!DirectoryExists(source.sdkFolder) && !CreateDirectories(source.sdkFolder)))
    throw std::runtime_error("Create QMX cache path failed");
  ExtractArchiveAll(source.sdkFolder, archive);

  *libraryPath = source.sdkFolder + L"Qmx.dll";
  // The SDK folder is the user's to write and the installer runs elevated:
  // only the library this installer carries is loaded. The file stays locked
  // against writers from the check until it is mapped.
  UniqueHandle locked(CreateFileW(libraryPath->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!locked) throw std::runtime_error("Load QMX.dll failed");
  std::string bytes = ReadLocked(locked);
  if (bytes.empty() || Md5OfBuffer(bytes.data(), static_cast<int32_t>(bytes.size())) != source.expectedMd5)
    throw std::runtime_error("QMX.dll digest mismatch");
  HMODULE library = LoadLibraryW(libraryPath->c_str());
  if (!library) throw std::runtime_error("Load QMX.dll failed");
  return library;
}

CoreTable ResolveCore(HMODULE library) {
  CoreTable core;
  RequireNamed(library, "qmxCreate", &core.create);
  Require(library, "qmxSetApplyKey", &core.setApplyKey, "Get qmxSetAppKey address failed");
  RequireNamed(library, "qmxSetAppInfo", &core.setAppInfo);
  RequireNamed(library, "qmxSetHostInfo", &core.setHostInfo);
  Require(library, "qmxSetSensorUrl", &core.setSensorUrl, "Get qmxSetSensorUrl failed");
  core.setMidVersion = Export<qmxSetMidVersionFn>(library, "qmxSetMidVersion");
  RequireNamed(library, "qmxSetPubCertificate", &core.setPubCertificate);
  RequireNamed(library, "qmxSetPriCcertificate", &core.setPriCertificate);
  core.enableCrashReport = Export<qmxEnableCrashReportFn>(library, "qmxEnableCrashReport");
  core.free = Export<qmxFreeFn>(library, "qmxFree");
  core.enableSandbox = Export<qmxEnableSandboxFn>(library, "qmxEnableSandbox");
  core.setNetProtocol = Export<qmxSetNetProtocolFn>(library, "qmxSetNetProtocol");
  core.setUrlVersion = Export<qmxSetURLVersionFn>(library, "qmxSetURLVersion");
  return core;
}

void ConfigureCore(CoreTable& core, QmxCrashCallback crash, void* context) {
  void* handle = nullptr;
  if (core.create(&handle) != 0) throw std::runtime_error("create QMX handle failed");
  core.handle = handle;
  if (core.setApplyKey(product::kAppId, profile::kSdkAppKey) != 0) throw std::runtime_error("SetAppkey failed");
  if (core.setAppInfo(kAppName, 0, 0) != 0) throw std::runtime_error("SetAppInfo failed");
  if (core.setHostInfo(profile::kAnalyticsHost, kAnalyticsPort) != 0) throw std::runtime_error("SetHostInfo failed");
  if (core.setSensorUrl(kSensorPath) != 0) throw std::runtime_error("SetSensorUrl failed");
  if (core.setMidVersion) core.setMidVersion(1);
  core.setPubCertificate(profile::kSdkPublicKey);
  core.setPriCertificate(profile::kSdkPrivateKey);
  if (core.enableCrashReport) core.enableCrashReport(crash, context);
}

bool ResolveCollector(HMODULE library, CollectorTable* table) {
  CollectorTable t{
      Export<qmxCLTCreateFn>(library, "qmxCLTCreate"),
      Export<qmxCLTSensorWriteEventFn>(library, "qmxCLTSensorWriteEvent"),
      Export<qmxCLTSensorWriteIntPropertiesFn>(library, "qmxCLTSensorWriteIntProperties"),
      Export<qmxCLTSensorWriteBoolPropertiesFn>(library, "qmxCLTSensorWriteBoolProperties"),
      Export<qmxCLTSensorWriteStringPropertiesFn>(library, "qmxCLTSensorWriteStringProperties"),
      Export<qmxCLTWriteIntFn>(library, "qmxCLTWriteInt"),
      Export<qmxCLTWriteDataFn>(library, "qmxCLTWriteData"),
      Export<qmxCLTCommitFn>(library, "qmxCLTCommit"),
      Export<qmxCLTFreeFn>(library, "qmxCLTFree"),
  };
  if (!t.create || !t.writeEvent || !t.writeIntProperty || !t.writeBoolProperty || !t.writeStringProperty ||
      !t.writeInt || !t.writeData || !t.commit || !t.free)
    return false;
  *table = t;
  return true;
}

DataTable ResolveData(HMODULE library) {
  return DataTable{Export<qmxBuildHttpDataFn>(library, "qmxBuildHttpData"),
                   Export<qmxDecryptDataFn>(library, "qmxDecryptData"),
                   Export<qmxDataFreeFn>(library, "qmxDataFree"),
                   Export<qmxMidFn>(library, "qmxMid"),
                   Export<qmxMidExFn>(library, "qmxMidEx"),
                   Export<qmxOpenUrlFn>(library, "qmxOpenUrl")};
}
