// Running a helper program (xdotool, pactl ...) for the end-to-end tests and
// reading what it prints.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace quellon::e2e {

// Its standard output; empty when it does not finish within timeoutMs.
inline QString run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
                   int timeoutMs = 10000)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

}  // namespace quellon::e2e
