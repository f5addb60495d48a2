#pragma once

#include <QString>

// Reading the operator's name and password at the terminal or from stdin.
namespace Console {

// One line from standard input without its line break; false at end of input.
bool readLine(QString* line);
// Asks on the terminal; the password is read with echo off. Raises
// std::runtime_error when there is no terminal.
QString ask(const QString& prompt);
QString askHidden(const QString& prompt);
void print(const QString& text);
void printError(const QString& text);

}
