#include "CaptureState.h"

CaptureState CurrentCapture;
int ModalBusy = 0;
