#include "run.h"

int main(int argc, char **argv) { return aliconv::aliconvMain(argc, argv); }
