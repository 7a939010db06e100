#include "alichain.h"

int main(int argc, char **argv) { return alichainMain(argc, argv); }
