// Compiled as part of the DTAUS layer: its own and a lower layer's headers are
// found, a header of the SEPA layer above it is not.
#include "core/RunBuffer.h"
#include "dtaus/Layout.h"
#include "sepa/SepaText.h"
