#pragma once
// The solar calendar for widgets and callers outside the toolkit: the conversions of
// date text, the month calendar's arithmetic (convertDateEng, solarMonthLength) and
// the astronomical calendar's day numbers.
#include "calendar/calendarconversion.h"
#include "calendar/solarcycle.h"
