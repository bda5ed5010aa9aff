#pragma once
// What every program of the suite prints for --version: its name, the suite's
// version, and the copyright and licence it is distributed under. One text
// for all of them, so no program can state a different licence.

#include <string>

// The suite's version, as the packages carry it ("0.1.0").
const char* SuiteVersion();

// "<program> (Veldra) <version>" (just "Veldra <version>" for the game
// itself), then the copyright and the licence; every line ends in '\n'.
std::string VersionText(const std::string& program);

// Whether `argument` asks for the version ("--version").
bool AsksForVersion(const char* argument);
