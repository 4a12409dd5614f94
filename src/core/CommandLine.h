#pragma once
// The program's command line, compared case-sensitively: exactly "import <path>" imports a
// layer file, exactly "auto" starts hidden, anything else is an ordinary start.
#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Kind { Ordinary, Auto, Import };
    Kind kind = Kind::Ordinary;
    QString importPath; // set only for Import

    // `args` are the arguments after the program name.
    static CommandLine parse(const QStringList &args);
};
