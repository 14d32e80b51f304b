#include <iostream>
#include <string>
#include <vector>

#include "cli/BatchRun.h"
#include "cli/SignalCleanup.h"

int main(int argc, char** argv) {
  vorel::InstallSignalCleanup();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const int status = vorel::RunBatch(args, std::cout, std::cerr);
  std::cout.flush();
  // RunBatch reports a failed output itself; this catches the usage text.
  if (status == vorel::kBatchOk && !std::cout) {
    std::cerr << "Attention!\nThe standard output cannot be written.\n";
    return vorel::kBatchRefused;
  }
  return status;
}
