#include "app/errorboundary.h"
#include "app/startup.h"
#include "app/tray.h"
#include "platform/realplatform.h"
#include "platform/soleinstance.h"

#include "app/mainwindow.h"

#include <QDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    // Wayland lets no program place its own windows, so pop-ups would lose their stored
    // places: run through XWayland unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qgetenv("XDG_SESSION_TYPE") == "wayland" && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    brimble::BrimbleApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Brimble!"));
    app.setApplicationVersion(QStringLiteral("1.0"));
    app.setDesktopFileName(QStringLiteral("org.brimble.brimble"));
    app.setWindowIcon(brimble::brimbleIcon());
    app.setQuitOnLastWindowClosed(false);

    brimble::RealPlatform platform;
    // One copy per database: a second start shows the running copy's window instead.
    brimble::SoleInstance sole(QDir(platform.databaseDirectory()).filePath(QStringLiteral("bm.mdb")));
    if (!sole.claim())
        return 0;
    brimble::Program program(platform);
    program.start();
    platform.setOwner(&program.mainWindow());
    QObject::connect(&sole, &brimble::SoleInstance::activationRequested, &program.mainWindow(),
                     brimble::ErrorBoundary::wrap([&program] { program.mainWindow().anotherStart(); }));
    if (qEnvironmentVariableIsSet("BRIMBLE_PROBE_STARTUP")) {
        // For the start-up benchmark: say when the event loop is first idle, then close.
        QTimer::singleShot(0, &app, [&program] {
            std::printf("ready\n");
            std::fflush(stdout);
            program.mainWindow().close();
        });
    }
    return app.exec();
}
