// The `--set NAME=VALUE` option of the commands that recognise: changes a
// recognition option or a tuning parameter for one run, nothing saved.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

// Adds a repeatable `--set NAME=VALUE` to `commande`, collected in `affectations`.
void AjouteOptionSet(CLI::App& commande, std::vector<std::string>& affectations);

// Applies every assignment to the current options and tuning parameters,
// after start-up loaded them. At the first bad one nothing is changed, an
// alert says why (naming the allowed values), and the result is false: the
// command then exits with a usage error.
bool AppliqueAffectations(const std::vector<std::string>& affectations);
