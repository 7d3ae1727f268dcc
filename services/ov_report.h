#pragma once
#include <string>

#include "net/multipart_form.h"
#include "services/stop_signal.h"

// The optional UID library in the SDK folder: "GetOVUID" fills a zeroed
// buffer of the given size (33) with at most 32 characters and a zero.
using GetOvuidFn = int(__cdecl*)(char* buffer, int size);
constexpr wchar_t kOvuidLibrary[] = L"OVUID.dll";

// The UID text of the library at path; "" when the file, the export or the
// text is missing.
std::string ReadOvuid(const std::wstring& libraryPath);

// What the attribution report is made of, gathered by the report thread.
struct ReportInputs {
  std::string channel;
  std::string uid;
  std::string appName;
  std::string macText;  // MachineMacAddress
  std::string machineId;
  std::string version;  // the installer's ProductVersion or its default
};

// The seven fields of the report; throws "get uid or product_name failed"
// (adding nothing) when the UID or the app name is empty.
void BuildReportForm(const ReportInputs& inputs, MultipartForm& form);

// The report: the form, up to 3 posts 300 ms apart to the attribution host,
// and the answer checked as JSON. 0 on success, 1 on any failure; never
// throws.
unsigned SendReport(const ReportInputs& inputs, StopSignal& stop, const std::string& host);
