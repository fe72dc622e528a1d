#include "app_resources.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

namespace veltaro::ui {

QIcon AppIcon() {
    QIcon icon;
    for (const char* path :
         {":/veltaro/icon128_32.png", ":/veltaro/icon128_48.png", ":/veltaro/icon128_96.png"}) {
        icon.addFile(QString::fromLatin1(path));
    }
    return icon;
}

void SetUpApplicationLook() {
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) {
        QApplication::setStyle(classic);
    }
    QApplication::setWindowIcon(AppIcon());
}

}  // namespace veltaro::ui
