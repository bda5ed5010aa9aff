#include "common/CMemoryBlock.h"
