// arrayctl: RAID management command line and shell.
#include "Public/startup.h"

int main(int argc, char **argv) { return cliMain(argc, argv); }
