#include "table/table_run.h"

int main(int argc, char** argv) { return tableMain(argc, argv); }
