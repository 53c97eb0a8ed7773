#pragma once
// Moved to the shared test fixtures; kept for the files that still include it here.
#include "tests/fixtures/bvdata.h"
