#pragma once
// The clock that TTools::NowTime reads. Tests set a fixed time of day; an empty
// function brings back the system clock.
#include <QTime>
#include <functional>

void setNowTimeClock(std::function<QTime()> clock);
