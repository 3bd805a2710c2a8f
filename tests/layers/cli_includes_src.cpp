// Compiled as part of the tool: the public headers are found, the library's
// own are not.
#include "zordta/DtausReader.h"

#include "dtaus/Layout.h"
