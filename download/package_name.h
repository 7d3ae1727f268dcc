#pragma once
#include <string>

// A file name from a server's answer made safe to use inside the package
// folder: only the text after the last separator, without "..", without the
// characters Windows refuses in names, and without leading or trailing blanks
// and dots. "" when nothing usable is left.
std::wstring SafePackageFileName(const std::wstring& name);

// The package's name after the running executable: its file name with every
// occurrence of its extension removed, "_install" unless the name holds it,
// "_v" and the version when there is one, and ".exe". For setup_ab12.exe and
// 3.5.0.2: setup_ab12_install_v3.5.0.2.exe.
std::wstring PackageNameAfterExecutable(const std::wstring& ownFileName, const std::wstring& version);

// The package names of the distribution channels that mark the second part
// of the installer's own version (96 to 99); "" for any other version.
std::wstring ChannelPackageName(const std::wstring& ownVersion);
