// Writes the installed launcher from its template: @EXEC@ becomes the Exec value that
// runs the given program, quoted the way the application quotes its autostart entry,
// so both start the same command.
//   qx_gen_desktop_entry TEMPLATE OUT PROGRAM
#include "DesktopEntry.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s TEMPLATE OUT PROGRAM\n", argv[0]);
        return 2;
    }
    QFile in(QFile::decodeName(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const QString program = QFile::decodeName(argv[3]);
    const QString exec = platform::desktopentry::execValue(program);
    QByteArray text = in.readAll();
    if (exec.isEmpty() || !text.contains("@EXEC@")) {
        std::fprintf(stderr, "%s: no Exec for \"%s\" in %s\n", argv[0], argv[3], argv[1]);
        return 1;
    }
    text.replace("@EXEC@", exec.toUtf8());
    QFile out(QFile::decodeName(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
