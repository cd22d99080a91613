// Placeholder until the codec lands: every file is refused with its id.
#include "Codecs.h"

void ReadJpgFile(ByteView&, ImageRecord&) { Fail(kErrJpg); }
void WriteJpgFile(const ImageRecord&, ByteSink&) { Fail(kErrJpg); }
