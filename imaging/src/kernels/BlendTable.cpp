#include "kernels/BlendTable.h"

const BlendTableType& BlendTable()
{
    static const BlendTableType table = [] {
        BlendTableType t{};
        for (uint32_t a = 0; a <= 32; ++a)
            for (uint32_t v = 0; v < 32; ++v)
                t[a][v] = v * a * 8;
        return t;
    }();
    return table;
}
