#pragma once
// The child side of the first-paint benchmark: builds the program on `dataDir` with the
// settings file `settingsFile`, as the program's entry does, on the offscreen platform, and
// prints the steady-clock time (nanoseconds) at which the time grid finished its first paint.
// Returns the process exit status: 0 when it painted within 10 s, 1 otherwise.
int firstWeekPaintChild(const char *dataDir, const char *settingsFile);
