#pragma once

// A test ends this process at a chosen step of a write, as a crash or a
// kill -9 would there: the environment variable IRVANTA_TEST_KILL_AT names
// the step ("name", or "name:n" for the n-th time it is reached). Without the
// variable a step costs one comparison.
void killPoint(const char *name);
