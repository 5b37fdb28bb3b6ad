// `ruzo batch`, registered on the program's parser like every command.
#pragma once

#include <CLI/CLI.hpp>

void EnregistreCommandeLot(CLI::App& app, int& code);
