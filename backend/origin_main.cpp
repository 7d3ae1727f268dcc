// velora-origin IP PORT ROOT LOG: the download tests' misbehaving file server.
#include <iostream>
#include <string>

#include "backend/fault_origin.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: velora-origin IP PORT ROOT LOG\n";
    return 2;
  }
  return RunFaultOrigin(argv[1], std::stoi(argv[2]), argv[3], argv[4]);
}
