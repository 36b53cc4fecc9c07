#include "app/watch_options.h"
int main(int argc, char** argv) { return RunWithWatchOptions(argc, argv); }
