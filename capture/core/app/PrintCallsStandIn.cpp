// Stand-in definitions of the print calls until the print library lands:
// there is no printer choice to forget or make. Delete this file when the
// print glue is built.
#include "PrintCalls.h"

void ResetPrintLibrary() {}
void RunPrinterSetup() {}
