// The Clock dialog's preview line, without windows: the current time in the
// formats the dialog's choices name (the Clock values, in their order).
#pragma once

#include <ctime>
#include <string>

// The time text, the date text, or both joined by two blanks; empty when
// neither time nor date is on (the dialog then says the clock is off).
std::string ClockPreviewText(const int clock[], const struct tm& local);
