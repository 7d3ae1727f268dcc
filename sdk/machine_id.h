#pragma once
#include <string>

// A stable 32-hex-digit identifier of this machine: the MD5 of the machine
// GUID that Windows keeps in the registry (or, without one, of the computer
// name and the system volume's serial number). kind 0 is the plain
// identifier; other kinds give other, equally stable identifiers.
std::string MachineId(int kind);
