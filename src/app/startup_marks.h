#pragma once

// Moments of the start-up that cannot be seen from outside the program, for the
// start-up benchmark: with QUILLORY_STARTUP_MARKS set in the environment, each
// is written to standard error as "quillory-startup <moment> <ns>", the time on
// the system's monotonic clock. Without it nothing is written.
void markStartup(const char *moment);
