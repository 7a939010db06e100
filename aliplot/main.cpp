#include "run.h"

int main(int argc, char **argv) { return aliplot::aliplotMain(argc, argv); }
