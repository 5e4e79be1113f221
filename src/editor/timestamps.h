#pragma once

// The timestamp rules live with the file formats, which write and read them
// without a window.
#include "formats/timestamps.h"
