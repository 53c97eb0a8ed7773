#include "dataaccess/odbc/odbcsession.h"
#include <gtest/gtest.h>
