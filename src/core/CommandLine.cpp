#include "core/CommandLine.h"

CommandLine CommandLine::parse(const QStringList &args)
{
    CommandLine c;
    if (args.size() == 2 && args[0] == QLatin1String("import")) {
        c.kind = Kind::Import;
        c.importPath = args[1];
    } else if (args.size() == 1 && args[0] == QLatin1String("auto")) {
        c.kind = Kind::Auto;
    }
    return c;
}
