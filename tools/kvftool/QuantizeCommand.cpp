#include "QuantizeCommand.h"

#include "KvfPictureIO.h"

// Stands in until colour reduction is wired to the command line.
int RunQuantizeCommand(int, char**)
{
    return KvfFail("quantize is not available yet", KVF_EXIT_USAGE);
}
