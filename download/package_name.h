#pragma once
#include <string>

// A file name from a server's answer made safe to use inside the package
// folder: only the text after the last separator, without "..", without the
// characters Windows refuses in names, and without leading or trailing blanks
// and dots. "" when nothing usable is left.
std::wstring SafePackageFileName(const std::wstring& name);

// A file name from a server's answer, or "" when it is not fit to be the
// package's: the name must be plain (no separators), creatable (no control or
// reserved characters, no device name such as CON or COM1, no trailing blank
// or dot, and folder + name within the path limit) and end in ".exe", which
// also keeps it off the installer's own files (config.ini, the SDK folder).
std::wstring ServerPackageFileName(const std::wstring& name, const std::wstring& folder);

// The package's name after the running executable: its file name with every
// occurrence of its extension removed, "_install" unless the name holds it,
// "_v" and the version when there is one, and ".exe". For setup_ab12.exe and
// 3.5.0.2: setup_ab12_install_v3.5.0.2.exe.
std::wstring PackageNameAfterExecutable(const std::wstring& ownFileName, const std::wstring& version);

// The package names of the distribution channels that mark the second part
// of the installer's own version (96 to 99); "" for any other version.
std::wstring ChannelPackageName(const std::wstring& ownVersion);
