// Tries the single-copy lock for a settings folder from a separate process.
// single_instance_probe FOLDER        exits 0 when it could run, 3 when another copy runs
// single_instance_probe FOLDER hold   takes the lock, prints "held PATH" (the lock file, empty
//                                     without one) and waits to be killed
#include "app/system/single_instance.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const platform::SingleInstanceLock lock(QString::fromLocal8Bit(argv[1]));
    if (lock.anotherCopyRuns())
        return 3;
    if (argc > 2 && qstrcmp(argv[2], "hold") == 0) {
        std::printf("held %s\n", QFile::encodeName(lock.path()).constData());
        std::fflush(stdout);
        for (;;)
            QThread::sleep(1);
    }
    return 0;
}
