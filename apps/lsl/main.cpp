// lsl: line-style libraries on the command line (see CLslHelp.cpp, or run
// "lsl --help").
#include "apps/lsl/CLslApp.h"

int main(int argc, char** argv) { return CLslApp(argc, argv).Run(); }
