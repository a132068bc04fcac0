// The canvas contract against the software canvas of the native tests.
#include "contracts/CanvasContract.h"
#include "support/SoftwareCanvas.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Software, CanvasContract, FakeCanvasService);
