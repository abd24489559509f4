#pragma once

// What the tests of the clock share: Qt Test, the files and folders they work in, short texts, and whole
// files read and written in one call.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace kiv::test {

// The whole content of a file; empty if it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes `bytes` the whole content of a file; false if that fails.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Ends a process the test started, if it still runs (a process that has ended is not signalled).
inline void stop(QProcess& process)
{
    process.kill();
    process.waitForFinished(5000);
}

} // namespace kiv::test

using namespace kiv;
using namespace Qt::StringLiterals;
