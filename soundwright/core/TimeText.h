#pragma once
// The time text of soundwright: milliseconds shown as "h:mm:ss.zzz" and the
// forms a user may type a time in.
#include <QString>
#include <QtGlobal>

// "h:mm:ss.zzz"; the hours take as many digits as they need. Negative
// values get a leading minus.
QString FormatTimeText(qint64 milliseconds);

// Reads a typed time; -1 when no accepted form matches. Accepted, first match
// wins: h:m:s.z, m:s.z, s.z, s, m:s, h:m:s. Each field is a decimal integer
// (empty counts as 0) without upper bound; the digits after the point are a
// whole number of milliseconds ("1.5" is 1005 ms). A value beyond the range
// of the result is not accepted either.
qint64 ParseTimeText(const QString& text);

// Which of the three selection time fields a typed time went into.
enum class TimeField { Start, End, Length };

// Applies a typed time c (milliseconds, not negative) to the selection
// [start, end] of a document of L milliseconds:
// - Start: c <= end moves the start; beyond the end the selection collapses
//   at c, or at L when c lies past the document.
// - End: c <= start collapses the selection at the start; else end := c,
//   at most L.
// - Length: end := start + c, at most L.
void ApplyTypedTime(TimeField field, qint64 c, qint64 L, qint64& start, qint64& end);
