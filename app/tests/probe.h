#pragma once
// Runs copies of the launch probe and reads what they print.
#include <windows.h>

#include <map>
#include <string>

#include "platform/tests/temp_folder.h"

namespace probe {

using testing_files::OwnFolder;
using testing_files::TempFolder;

// Runs the executable and returns its "key=value" lines; "exit" holds the exit
// code and is missing when it could not be started.
std::map<std::string, std::string> Run(const std::wstring& exe);

}  // namespace probe
