#pragma once
#include <string>

// Whether an address may be handed to a browser or the shell: an absolute
// "http://" or "https://" address (scheme in any case) with a host, and no
// blank, quote, backslash or control character anywhere. Such an address
// stays one argument when it is put between double quotes on a command line,
// and can neither carry a browser switch nor name a local program.
bool IsSafeWebAddress(const std::wstring& address);

// Whether the character is one that IsSafeWebAddress refuses anywhere.
bool IsUnsafeInWebAddress(wchar_t c);
