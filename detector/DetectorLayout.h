#pragma once
// The layout of the detector page whenever its size changes, in twips. Free of
// Win32 so it runs against fake controls in tests.
#include "controls/Placement.h"

namespace kelvane {

struct DetectorLayoutControls {
  Placement& TxtReadMe;
  Placement& OptNormal;
  Placement& LbNormal;
  Placement& OptDeep;
  Placement& LbDeep;
  Placement& cmdBegin;
  Placement& cmdStop;
  Placement& lbMsg;
};

// The explanation centred in the upper part with 500 twips left and right; the two
// options under it, 1000 twips in from its left edge, each with its description
// offset by (500, 300); the buttons 1500 twips left and right of the middle, 1000
// above the bottom; the caution line across the full width 300 above the bottom.
// Each row reads what the rows before it wrote (as the control holds it); a row
// whose read or write fails is skipped and the next one runs.
void layoutVirusDetect(float width, float height, const DetectorLayoutControls& controls);

}  // namespace kelvane
