#include "engine/cmd_line_parameters.h"

cmdLineParameters::cmdLineParameters() : outputFile(nullptr) { comment[0] = '\0'; }

cmdLineParameters::~cmdLineParameters() {
  while (!inputFiles.isEmpty()) {
    delete[] inputFiles.pop();
  }
  delete[] outputFile;
}
