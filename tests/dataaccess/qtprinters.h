#include "tests/fixtures/qstringprint.h"
