// What the application and the main frame call of the print library.
#pragma once

// The print library forgets the printer and options it cached for our
// settings section (after Master Reset and system settings changes).
void ResetPrintLibrary();
// The platform's print-setup dialog; the library saves the choice.
void RunPrinterSetup();
