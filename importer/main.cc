#include "importer/import_run.h"

int main(int argc, char** argv) { return importMain(argc, argv); }
