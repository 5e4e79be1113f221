#pragma once

#include <QString>

namespace quillory {

// m:ss: minutes without padding, seconds as two digits; the time is first rounded
// to the nearest whole second, an exact half going to the even second.
QString formatMinutesSeconds(double milliseconds);
// The whole seconds formatMinutesSeconds shows for `milliseconds`.
long long shownSeconds(double milliseconds);

// "position / length", each as m:ss.
QString formatTimeText(double position, double length);

} // namespace quillory
