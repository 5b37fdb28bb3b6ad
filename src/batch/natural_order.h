// The order people expect of numbered file names: "page-2" before
// "page-10". Runs of digits compare by their value, everything else byte by
// byte, so the order is the same on every machine whatever its locale.
#pragma once

#include <string>

// True when `a` comes before `b`.
bool AvantEnOrdreNaturel(const std::string& a, const std::string& b);
