#include "app/App.h"

int main(int argc, char** argv) { return AppMain(argc, argv); }
