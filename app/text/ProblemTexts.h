// The words for a problem the device library reports, in a UI language: the program shows them in the
// language chosen, zelk-cli in English.
#pragma once

#include "text/UiLanguage.h"
#include "zelk/Problem.h"

#include <string>

// UTF-8.
std::string ProblemText(const CProblem& problem, UiLanguage language);
// The text in every language, one per line: for what is said before anyone could choose a language.
std::string ProblemTextInEveryLanguage(const CProblem& problem);
