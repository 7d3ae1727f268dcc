#pragma once
#include <string>

// The two ways the installer asks whether a dotted version is not older than
// another. They differ on purpose, each serving its own question; both read
// the parts as "%lld" numbers.

// Start-up's question, is the installed product as new as the package? Parts
// are compared over the length both have; the first unequal pair decides, and
// equal common parts count as not older ("3.6" against "3.6.0.9" is not older).
bool NotOlderAtFirstDifference(const std::string& version, const std::string& reference);

// Reuse's question, is a recorded package good enough? The numbers of parts
// must be equal (and not 0), and no part may be below the reference's part at
// the same place; a larger earlier part settles nothing ("3.6.0.0" against
// "3.5.0.2" fails).
bool NoPartOlder(const std::string& version, const std::string& reference);
