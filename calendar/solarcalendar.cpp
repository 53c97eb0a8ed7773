#include "solarcalendar.h"
