#pragma once
#include <cstdint>

// The call contract of Qmx.dll: every export is __stdcall with an undecorated
// name; strings are narrow; 0 means success. Buffers returned by
// qmxBuildHttpData and qmxDecryptData stay valid until qmxDataFree. The
// identifier texts of qmxMid and qmxMidEx belong to the library.
extern "C" {
typedef void(__stdcall* QmxCrashCallback)(void* context, const wchar_t* dumpPath);

typedef int(__stdcall* qmxCreateFn)(void** handle);
typedef int(__stdcall* qmxSetApplyKeyFn)(const char* appId, const char* appKey);
typedef int(__stdcall* qmxSetAppInfoFn)(const char* appName, int reserved1, int reserved2);
typedef int(__stdcall* qmxSetHostInfoFn)(const char* host, int port);
typedef int(__stdcall* qmxSetSensorUrlFn)(const char* path);
typedef int(__stdcall* qmxSetMidVersionFn)(int version);
typedef int(__stdcall* qmxSetCertificateFn)(const char* base64Der);
typedef int(__stdcall* qmxEnableCrashReportFn)(QmxCrashCallback callback, void* context);
typedef int(__stdcall* qmxFreeFn)(void* handle);
typedef int(__stdcall* qmxEnableSandboxFn)(int enable);
typedef int(__stdcall* qmxSetNetProtocolFn)(int protocol);
typedef int(__stdcall* qmxSetURLVersionFn)(const char* version);

typedef int(__stdcall* qmxCLTCreateFn)(void* handle, int type, void** record);
typedef int(__stdcall* qmxCLTSensorWriteEventFn)(void* record, const char* name, int32_t eventId);
typedef int(__stdcall* qmxCLTSensorWriteIntPropertiesFn)(void* record, const char* key, int64_t value);
typedef int(__stdcall* qmxCLTSensorWriteBoolPropertiesFn)(void* record, const char* key, int value);
typedef int(__stdcall* qmxCLTSensorWriteStringPropertiesFn)(void* record, const char* key, const char* value);
typedef int(__stdcall* qmxCLTWriteIntFn)(void* record, int field, int32_t value);
typedef int(__stdcall* qmxCLTWriteDataFn)(void* record, int field, const void* data, int length);
typedef int(__stdcall* qmxCLTCommitFn)(void* record);
typedef int(__stdcall* qmxCLTFreeFn)(void* record);

typedef char*(__stdcall* qmxBuildHttpDataFn)(const char* path, const void* data, int length, int* outLength, int flags,
                                             const char* version);
typedef char*(__stdcall* qmxDecryptDataFn)(const void* data, int length, int* outLength);
typedef void(__stdcall* qmxDataFreeFn)(void* data);
typedef const char*(__stdcall* qmxMidFn)();
typedef const char*(__stdcall* qmxMidExFn)(int kind);
typedef int(__stdcall* qmxOpenUrlFn)(const char* url);
}
