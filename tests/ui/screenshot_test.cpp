// Saves pictures of the dialogs under the build tree, for a person to compare with the
// templates: main_dialog.png, about_box.png and color_buttons.png (the looks, enlarged).
#include <QDir>
#include <QPainter>

#include "about_dlg.h"
#include "color_button_draw.h"
#include "dialog_fixture.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

using test::DialogTest;

QString ShotPath(const char* name) {
    QDir().mkpath(QStringLiteral(VELTARO_SCREENSHOT_DIR));
    return QStringLiteral(VELTARO_SCREENSHOT_DIR "/") + QString::fromLatin1(name);
}

TEST_F(DialogTest, SavesScreenshots) {
    dialog->AppendLog("http://www.ostrane.example\r\n");
    ASSERT_TRUE(dialog->grab().save(ShotPath("main_dialog.png")));

    CAboutDlg about(dialog.get());
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    ASSERT_TRUE(about.grab().save(ShotPath("about_box.png")));
    about.close();

    const ButtonState states[] = {
        {}, {false, false, true}, {true, false, true}, {false, true, false}, {true, false, false}};
    const int bevels[] = {2, 0, 1, -3};
    QImage sheet(5 * 100, 4 * 30, QImage::Format_RGB32);
    sheet.fill(qRgb(173, 216, 230));
    QPainter painter(&sheet);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 5; ++col) {
            QImage button(92, 23, QImage::Format_RGB32);
            DrawColorButton(button, QStringLiteral("&Open"), dialog->font(), states[col],
                            ColorButtonLook{0x010101, 0x90EE90, 0x808080, bevels[row]});
            painter.drawImage(col * 100 + 4, row * 30 + 4, button);
        }
    }
    painter.end();
    ASSERT_TRUE(sheet.scaled(sheet.size() * 3).save(ShotPath("color_buttons.png")));
}

}  // namespace
}  // namespace veltaro::ui
