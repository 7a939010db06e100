#include "run.h"

int main(int argc, char **argv) { return alisyn::alisynMain(argc, argv); }
