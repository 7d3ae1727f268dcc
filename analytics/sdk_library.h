#pragma once
#include <windows.h>

#include <string>

#include "sdk/qmx_api.h"

// Finding, checking and loading Qmx.dll, and its three export tables.

// Where the SDK comes from: the module whose resource 105 ("BinarySystem")
// holds the SDK archive, the folder that receives "Qmx.zip", the SDK folder
// it is unpacked into, and the MD5 that the unpacked Qmx.dll must have.
struct SdkSource {
  HMODULE module = nullptr;
  std::wstring workFolder;
  std::wstring sdkFolder;
  std::string expectedMd5;
};

// The installer's own: its resources, the given folders and the digest of the
// Qmx.dll that the build packed.
SdkSource InstallerSdkSource(const std::wstring& workFolder, const std::wstring& sdkFolder);

// Writes the archive out, unpacks it, checks the library's digest and loads
// it; the library stays loaded for the rest of the process. Throws the
// failure's text.
HMODULE LoadSdkLibrary(const SdkSource& source, std::wstring* libraryPath);

struct CoreTable {
  void* handle = nullptr;
  qmxCreateFn create = nullptr;
  qmxSetApplyKeyFn setApplyKey = nullptr;
  qmxSetAppInfoFn setAppInfo = nullptr;
  qmxSetHostInfoFn setHostInfo = nullptr;
  qmxSetSensorUrlFn setSensorUrl = nullptr;
  qmxSetMidVersionFn setMidVersion = nullptr;
  qmxSetCertificateFn setPubCertificate = nullptr;
  qmxSetCertificateFn setPriCertificate = nullptr;
  qmxEnableCrashReportFn enableCrashReport = nullptr;
  qmxFreeFn free = nullptr;
  qmxEnableSandboxFn enableSandbox = nullptr;
  qmxSetNetProtocolFn setNetProtocol = nullptr;
  qmxSetURLVersionFn setUrlVersion = nullptr;
};

struct CollectorTable {
  qmxCLTCreateFn create;
  qmxCLTSensorWriteEventFn writeEvent;
  qmxCLTSensorWriteIntPropertiesFn writeIntProperty;
  qmxCLTSensorWriteBoolPropertiesFn writeBoolProperty;
  qmxCLTSensorWriteStringPropertiesFn writeStringProperty;
  qmxCLTWriteIntFn writeInt;
  qmxCLTWriteDataFn writeData;
  qmxCLTCommitFn commit;
  qmxCLTFreeFn free;
};

struct DataTable {
  qmxBuildHttpDataFn buildHttpData;
  qmxDecryptDataFn decryptData;
  qmxDataFreeFn dataFree;
  qmxMidFn mid;
  qmxMidExFn midEx;
  qmxOpenUrlFn openUrl;
};

// The core exports; throws "Get <name> address failed" (and the two special
// texts) for a missing required one.
CoreTable ResolveCore(HMODULE library);
// Runs the configuration sequence on a new handle, which it stores in core;
// throws the sequence's failure texts.
void ConfigureCore(CoreTable& core, QmxCrashCallback crash, void* context);
// False (and the table untouched) when one collector export is missing.
bool ResolveCollector(HMODULE library, CollectorTable* table);
// Missing data exports stay null.
DataTable ResolveData(HMODULE library);
