#include "ShaperStage.h"

void ShaperStage::DesignShaperBandPass(double r)
{
  Design(kBandPassDen, kBandPassNum, r);
}
