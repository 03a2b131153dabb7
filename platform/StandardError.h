#pragma once

#include <QString>

// One line on standard error after the program's name: what a terminal or the session's log
// keeps when no window is left to show it.
void printError(const QString& text);
