// Veltaro: a configuration tool for wireless serial modems. One modal dialog; the program
// ends when it closes. Command-line arguments are not used (Qt's own are still honoured).
#include <QApplication>

#include "quistor_app.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltaro"));
    QApplication::setApplicationVersion(QStringLiteral("1.2"));
    veltaro::ui::CQuistorApp app;
    return app.InitInstance();
}
