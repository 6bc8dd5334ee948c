#pragma once
// The assessment's files: CASE_check.csv, CASE_check.txt and CASE_interaction.csv (RFC 4180, CR LF,
// a header naming the units, plain decimal numbers, kN.m).

#include "assessment.hpp"

#include <string>

namespace tarnova::collaudo {

std::string checkTable(const Assessment& a);
std::string interactionTable(const Assessment& a);
// The check as a reviewer reads it: the factors used, the table, the damages and the notes.
std::string checkReport(const Assessment& a, const Limits& limits);
// A number in plain decimal with `decimals` places (never E-notation).
std::string plain(double value, int decimals);

} // namespace tarnova::collaudo
