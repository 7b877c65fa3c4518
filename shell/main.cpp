#include "shell/EndSignals.h"
#include "shell/MainWindow.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zentolletto"));
    zt::MainWindow window;
    zt::closeOnEndSignals(window);
    window.show();
    return app.exec();
}
