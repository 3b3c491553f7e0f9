// korvenctl: steers and reads the simulated KORVEN from outside the program under test.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "korvenctl/commands.h"

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // plain line ends for scripts
  if (argc < 2) {
    korvenctl::PrintUsage();
    return 2;
  }
  const korvenctl::Arguments arguments(argv + 2, argv + argc);
  const int result = korvenctl::RunCommand(argv[1], arguments);
  if (result == 2) korvenctl::PrintUsage();
  std::fflush(stdout);
  return result;
}
