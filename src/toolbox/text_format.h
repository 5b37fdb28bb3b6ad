// printf into a string from a va_list, for functions that take printf-style
// arguments of their own (alerts, the trace, the scanner's log).
#pragma once

#include <cstdarg>
#include <string>

std::string FormateListe(const char* format, va_list args);
