// The framework's string and collections under the sanitizers. They build
// here once the window-free framework core is linked into the native tests.
#ifdef KFRAMEWORK_CORE_LINKED
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/CString.h"
#include "framework/Collections.h"

#include "../framework/StringCollectionCases.inc"
#endif
