#include "SetupState.h"

SetupState& TheSetup()
{
    static SetupState state;
    return state;
}
