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
            if (QFunctionPointer f = lib.resolve(symbol))
                found << f;
            else
                break;
        }
        if (found.size() == qsizetype(symbols.size()))
            return found;
        errors << lib.errorString();
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
