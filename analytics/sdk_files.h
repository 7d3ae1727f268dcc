#pragma once
#include <string>

// Where the SDK is unpacked and how. These stand in for the cache location
// and archive extraction of the download and platform layers until those
// exist; the logger only uses these three calls.

// The run's work folder with a trailing backslash ("" when there is none).
std::wstring SdkWorkFolder();
// The per-user cache folder "...\VeloraPkg\" ("" when there is none).
std::wstring SdkCacheFolder();
// Unpacks every entry of the archive flat into the folder; entries that fail
// are skipped.
void ExtractSdkArchive(const std::wstring& folder, const std::wstring& archive);
