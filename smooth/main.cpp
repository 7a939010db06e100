#include "smooth.h"

int main(int argc, char **argv) { return smoothMain(argc, argv); }
