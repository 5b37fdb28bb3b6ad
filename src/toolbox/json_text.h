// The few pieces of JSON the commands print for scripts.
#pragma once

#include <string>

// `s` as a quoted JSON string, with quotes, backslashes and control
// characters escaped.
std::string ChaineJSON(const std::string& s);
