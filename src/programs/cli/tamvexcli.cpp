// tamvex-cli: the search spine for scripts, tests and benchmarks.
//   tamvex-cli statement QUERY
//   tamvex-cli search [--program-folder DIR] QUERY
//   tamvex-cli mark [--program-folder DIR] PAGEPATH TERMS
//   tamvex-cli kwic [--variants] [--program-folder DIR] [--width N] QUERY
// Texts on the command line and on output are UTF-8.

#include "clicommands.h"

#include "translation.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    // The application object carries the translation of the messages.
    QCoreApplication app(argc, argv);
    Translation::install();
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromUtf8(argv[i]);
    return runCliCommand(args);
}
