#pragma once

#include <QString>
#include <QTime>
#include <optional>

// The stored form of a time of day (the opening and closing times of the
// settings and of every page).
namespace store {

// "hh:mm AM" on the 12-hour clock, e.g. 08:00 AM, 12:30 PM.
QString formatTime(int minutesOfDay);
QString formatTime(const QTime &time);
// Reads the stored time forms back ("08:00 AM", "8:00 pm", "17:30").
std::optional<int> parseTime(const QString &text);

} // namespace store
