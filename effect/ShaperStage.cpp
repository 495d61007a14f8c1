#include "ShaperStage.h"

namespace
{
const double kBandPassDen[5] = {0.0081068027183072, 6.67902279713139e-6, 1.57031225260495e-10, 2.22125411838863e-15,
                                1.20275473057067e-20};
const double kBandPassNum[5] = {0.0, 4.42189239180392e-6, 0.0, 0.0, 0.0};
}  // namespace

void ShaperStage::DesignShaperBandPass(double r)
{
  Design(kBandPassDen, kBandPassNum, r);
}
