#include "WavetableTriChorusOsc.h"

namespace
{
    /** Raised cosine starting at its trough, led by offset cycles. */
    OscBaseClass::Table raisedCosine (float offset) noexcept
    {
        OscBaseClass::Table table {};

        for (size_t i = 0; i < table.size(); ++i)
        {
            auto q = static_cast<float> (i) * 0x1p-10f + 0.5f + offset;

            if (q > 1.0f)
                q -= 1.0f;

            table[i] = std::cos (q * 6.2831855f) * 0.5f + 0.5f;
        }

        return table;
    }
}

WavetableTriChorusOsc::WavetableTriChorusOsc() noexcept
    : table1 (raisedCosine (0.0f)),
      table2 (raisedCosine (0.6666667f)),
      table3 (raisedCosine (0.33333334f))
{
}

WavetableTriChorusOsc::~WavetableTriChorusOsc() = default;

void WavetableTriChorusOsc::resetCoeffs()
{
    OscBaseClass::resetCoeffs();
    position = 0.0f;
}
