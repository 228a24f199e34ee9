// The desktop tests run in the same offscreen application as the platform tests.
#include "platform/qt_environment.cpp"
