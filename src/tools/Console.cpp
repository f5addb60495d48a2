#include "Console.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace Console {

namespace {

QString chopLineBreak(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return QString::fromStdString(text);
}

// Reads a line from the controlling terminal, optionally without echo.
QString askTerminal(const QString& prompt, bool hidden)
{
    FILE* tty = std::fopen("/dev/tty", "r+");
    if (!tty)
        throw std::runtime_error("no terminal to ask on; give the name and the password by options (see --help)");
    std::fputs(prompt.toLocal8Bit().constData(), tty);
    std::fflush(tty);
    termios saved{};
    const bool quiet = hidden && tcgetattr(fileno(tty), &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(fileno(tty), TCSAFLUSH, &silent);
    }
    std::string text;
    for (int c = 0; (c = std::fgetc(tty)) != EOF && c != '\n';)
        text.push_back(char(c));
    if (quiet) {
        tcsetattr(fileno(tty), TCSAFLUSH, &saved);
        std::fputs("\n", tty);
    }
    std::fclose(tty);
    return chopLineBreak(text);
}

}

bool readLine(QString* line)
{
    std::string text;
    if (!std::getline(std::cin, text))
        return false;
    *line = chopLineBreak(text);
    return true;
}

QString ask(const QString& prompt)
{
    return askTerminal(prompt, false);
}

QString askHidden(const QString& prompt)
{
    return askTerminal(prompt, true);
}

void print(const QString& text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
}

void printError(const QString& text)
{
    std::fputs((QStringLiteral("pwangsa-admin: ") + text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

}
