#include "ModuleLoader.h"

#include "MultimediaBackends.h"
#include "PZLog.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace platform::linuxbackend {

QList<QFunctionPointer> loadModule(const QString &fileName, std::initializer_list<const char *> symbols, QString *error)
{
    QStringList errors;
    for (const QString &dir : multimediaModuleDirs(QCoreApplication::applicationDirPath())) {
        QLibrary lib(dir + u'/' + fileName);
        if (!lib.load()) {
            errors << lib.errorString();
            continue;
        }
        QList<QFunctionPointer> found;
        for (const char *symbol : symbols) {
            QFunctionPointer f = lib.resolve(symbol);
            if (!f) {
                // QLibrary's own error says no more than "Unknown error" here.
                errors << QStringLiteral("%1 has no %2").arg(lib.fileName(), QLatin1String(symbol));
                break;
            }
            found << f;
        }
        if (found.size() == qsizetype(symbols.size()))
            return found;
    }
    if (error)
        *error = errors.join(QStringLiteral("; "));
    return {};
}

ModuleHost moduleHost(Scheduler &scheduler)
{
    return {&scheduler, &qxLogOnce};
}

} // namespace platform::linuxbackend
