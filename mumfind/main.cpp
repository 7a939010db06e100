#include "driver.h"

int main(int argc, char **argv) { return mumfind::mumfindMain(argc, argv); }
