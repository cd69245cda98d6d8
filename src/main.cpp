// The executable's entry: everything happens in the start-up code of the front end.
#include "frontend/win_main.h"

int main(int argc, char** argv) { return WinMain(argc, argv); }
