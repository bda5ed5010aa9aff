// The AVX2 tier of the "TRLE" kernels.

#include "kernels/simd/Avx2Vector.h"
#include "kernels/sprite/Avx2ShuffleGather.h"
#include "kernels/sprite/SimdTrleBodies.h"
#include "kernels/sprite/SimdTrleKernels.h"

#include <vector>

namespace {

// Gathers a row's indices with shuffles (see Avx2ShuffleGather.h). Where the
// reads around the run would leave the data area, the run is first copied
// into a buffer with margins.
class ShuffleGather {
public:
    explicit ShuffleGather(const GatherSetup& setup)
        : m_scalar(setup), m_blocks(setup), m_narrow(ShuffleBlocks<1>::Usable(setup)), m_dataBegin(setup.dataBegin),
          m_dataEnd(setup.dataEnd)
    {
    }

    const uint8_t* Run(uint8_t* slot, const TrleRow& row, int bias, int j0, int j1) const
    {
        if (!m_narrow || j1 - j0 < 32)
            return m_scalar.Run(slot, row, bias, j0, j1);
        const int first = j0 / 32, last = (j1 - 1) / 32;
        int low, high;
        m_blocks.ReadRange(first, last, &low, &high);
        const uint8_t* source = row.stored;
        if (low - bias < -(source - m_dataBegin) || high - bias > m_dataEnd - source) {
            thread_local std::vector<uint8_t> padded;
            padded.assign(size_t(row.count) + 2 * kMargin, 0);
            std::memcpy(padded.data() + kMargin, row.stored, size_t(row.count));
            source = padded.data() + kMargin;
        }
        m_blocks.Gather(slot, source, -bias, first, last);
        return slot + j0;
    }

private:
    static constexpr int kMargin = 64;
    ScalarGather m_scalar;
    ShuffleBlocks<1> m_blocks;
    bool m_narrow;
    const uint8_t* m_dataBegin;
    const uint8_t* m_dataEnd;
};

} // namespace

VELDRA_DEFINE_TRLE_KERNELS(avx2, ShuffleGather)
